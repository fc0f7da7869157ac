# Writes the bytes loomquill-cli --mode full --path-style posix --eol lf writes for the names
# on standard input. Texts come from the environment, since awk -v would eat backslashes:
#   LQB_HEADER, LQB_QUEUE, LQB_MAIN_HEAD, LQB_MAIN_QUEUE (main texts must hold no variable).
# Replacement uses index/substr only: gsub would treat & and \ in names as special.

# Every occurrence of pat in s becomes val, searching on after each inserted value.
function repl(s, pat, val,    out, at, plen) {
  out = ""
  plen = length(pat)
  while ((at = index(s, pat)) > 0) {
    out = out substr(s, 1, at - 1) val
    s = substr(s, at + plen)
  }
  return out s
}
function nocr(s) { return repl(s, "\r", "") }
# One pass over a text: where a variable's name begins, its value is written and the scan goes
# on after the name; what a value brings in is never looked at again.
function expand(s,    out, at, v, hit) {
  out = ""
  while ((at = index(s, "ZQ_")) > 0) {
    out = out substr(s, 1, at - 1)
    s = substr(s, at)
    hit = 0
    for (v = 1; v <= 7 && hit == 0; v++) {
      if (substr(s, 1, length(var[v])) == var[v]) hit = v
    }
    if (hit == 0) {
      out = out "Z"
      s = substr(s, 2)
      continue
    }
    if (hit == 5) {
      print "compose_equiv.awk: ZQ_RELPATH is not emulated" > "/dev/stderr"
      failed = 1
      exit 1
    }
    out = out val[hit]
    s = substr(s, length(var[hit]) + 1)
  }
  return out s
}
BEGIN {
  split("ZQ_DRIVE ZQ_PATH ZQ_NAME ZQ_EXT ZQ_RELPATH ZQ_GETSELINDEX ZQ_GETCOUNT", var, " ")
  header = nocr(ENVIRON["LQB_HEADER"])
  queue = nocr(ENVIRON["LQB_QUEUE"])
  main_queue = nocr(ENVIRON["LQB_MAIN_QUEUE"])
  if (index(ENVIRON["LQB_MAIN_HEAD"] main_queue, "ZQ_") > 0) {
    print "compose_equiv.awk: main texts with variables are not emulated" > "/dev/stderr"
    failed = 1
    exit 1
  }
  printf "%s", nocr(ENVIRON["LQB_MAIN_HEAD"])
  val[1] = ""  # no drive in the Posix style
}
{
  file = $0
  if (substr(file, length(file)) == "\r") file = substr(file, 1, length(file) - 1)
  # Directory up to its last slash; name and extension split at the last dot after it.
  if (match(file, /\/[^\/]*$/)) {
    val[2] = substr(file, 1, RSTART)
    base = substr(file, RSTART + 1)
  } else {
    val[2] = ""
    base = file
  }
  if (match(base, /\.[^.]*$/)) {
    val[3] = substr(base, 1, RSTART - 1)
    val[4] = substr(base, RSTART)
  } else {
    val[3] = base
    val[4] = ""
  }
  val[6] = NR
  val[7] = NR - 1
  line = expand(header) file expand(queue)
  if (length(line) > 2999) {
    print "compose_equiv.awk: line " NR " passes the line capacity" > "/dev/stderr"
    failed = 1
    exit 1
  }
  printf "%s", line
}
END {
  if (!failed) printf "%s", main_queue
}
