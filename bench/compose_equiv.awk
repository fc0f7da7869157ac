# Writes the bytes loomquill-cli --path-style posix --eol lf writes for the absolute names on
# standard input. Texts come from the environment, since awk -v would eat backslashes:
#   LQB_HEADER, LQB_QUEUE, LQB_MAIN_HEAD, LQB_MAIN_QUEUE (main texts must hold no variable),
#   LQB_MODE (full, the default, relative, name or none), LQB_RELPATH (relative mode's folder,
#   absolute, ending in /) and LQB_ESCAPE (none, the default, or shell).
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
# Shell escaping: a quote closes the quoted text, is written escaped, and opens it again.
function esc(s) { return escaping ? repl(s, "'", "'\\''") : s }
function starts(s, p) { return substr(s, 1, length(p)) == p }
# The folder part of an absolute name: up to its last slash when something follows it.
function dirpart(s) { return substr(s, length(s)) == "/" || !lastslash(s) ? s : substr(s, 1, RSTART) }
function lastslash(s) { return match(s, /\/[^\/]*$/) ? RSTART : 0 }
function climb(levels,    out) {
  out = ""
  while (levels-- > 0) out = out "../"
  return out
}
# The relative mode's written name for an absolute file: below the folder it is cut, above
# it climbs, beside it climbs to the first common folder; a name that relates to nothing (or
# equals the folder) is written as it is.
function relative(file,    fd, dd, levels, n, i) {
  fd = dirpart(file)
  if (file == relpath) return file
  if (starts(fd, rel_dd)) return substr(file, length(rel_dd) + 1)
  if (starts(rel_dd, fd)) {
    n = 0
    for (i = length(fd) + 1; i <= length(rel_dd); i++) if (substr(rel_dd, i, 1) == "/") n++
    return climb(n) substr(file, length(fd) + 1)
  }
  dd = substr(rel_dd, 1, length(rel_dd) - 1)
  levels = 0
  while (!starts(fd, dd) && levels < 50) {
    levels++
    if ((i = lastslash(dd)) > 0) dd = substr(dd, 1, i - 1)
  }
  dd = dd "/"
  if (starts(file, dd)) return climb(levels) substr(file, length(dd) + 1)
  return file
}
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
    out = out (hit <= 4 ? esc(val[hit]) : val[hit])
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
  mode = ENVIRON["LQB_MODE"] == "" ? "full" : ENVIRON["LQB_MODE"]
  escaping = ENVIRON["LQB_ESCAPE"] == "shell"
  if (ENVIRON["LQB_ESCAPE"] != "" && ENVIRON["LQB_ESCAPE"] != "none" && !escaping) {
    print "compose_equiv.awk: only shell escaping is emulated" > "/dev/stderr"
    failed = 1
    exit 1
  }
  relpath = ENVIRON["LQB_RELPATH"]
  if (mode == "relative" && (!starts(relpath, "/") || substr(relpath, length(relpath)) != "/")) {
    print "compose_equiv.awk: LQB_RELPATH must be absolute and end in /" > "/dev/stderr"
    failed = 1
    exit 1
  }
  rel_dd = relpath
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
  if (mode == "full") written = file
  else if (mode == "name") written = substr(file, lastslash(file) + 1)
  else if (mode == "none") written = ""
  else written = relative(file)
  line = expand(header) esc(written) expand(queue)
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
