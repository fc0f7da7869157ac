# bash completion for loomquill-cli: its options, the words they take, and file names.
# SPDX-License-Identifier: MIT

_loomquill_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  # bash splits --option=value at '=': complete the value of the option before it.
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  fi
  COMPREPLY=()

  # After "--" every word is a file, even one that begins with '-'.
  local i
  for ((i = 1; i < COMP_CWORD; i++)); do
    if [[ ${COMP_WORDS[i]} == -- ]]; then
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return
    fi
  done

  local words=
  case $prev in
    --mode) words='full relative name none' ;;
    --escape) words='none shell batch html url csv json html-url line' ;;
    --path-style) words='host windows posix' ;;
    --eol) words='native lf crlf' ;;
    --header | --queue | --main-head | --main-queue | --limit) return ;;
    --relpath)
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return
      ;;
    --list-templates)
      # Its folder is optional: a word that begins with '-' is the next option.
      if [[ $cur != -* ]]; then
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
      fi
      ;;
    --template)
      mapfile -t COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X '!*.hqd' -- "$cur")
      return
      ;;
    --list)
      mapfile -t COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X '!*.lst' -- "$cur")
      return
      ;;
    --files-from | --output | -o | --single | --name)
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return
      ;;
  esac
  if [[ -n $words ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
    return
  fi
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W '--template --header --queue --main-head --main-queue
      --mode --relpath --invert-slash --escape --list --files-from -0 --null --limit --output
      -o --single --name --list-templates --path-style --eol -h --help -V --version --' -- "$cur")
    return
  fi
  mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}

complete -o filenames -F _loomquill_cli loomquill-cli
