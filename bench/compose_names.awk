# Writes n deterministic absolute Posix file names, one a line: mawk -v n=1000 -f compose_names.awk
# A Park-Miller generator keeps every awk on the same sequence (products stay below 2^53).
function rnd(m) {
  seed = (seed * 16807) % 2147483647
  return seed % m
}
function pick(list, count) { return list[rnd(count) + 1] }
BEGIN {
  seed = 20240611
  nr = split("/home/u/Music|/home/u/Documents|/srv/media/Photos|/mnt/data/Video|/home/u/Work/src|/var/lib/archive", root, "|")
  na = split("Artist|Simon & Garfunkel|Beyoncé|Sigur Rós|$uicideboy$|Guns N' Roses|AC\\DC|東京事変|-dash lead|Band", art, "|")
  nk = split("Album|Live at 50%|Disc|Vol.|Sessions & Demos|Été", alb, "|")
  nf = split("track|img|notes|IMG_|part|read me|a&b|back\\slash|ZQ-like|Ünïcode", stem, "|")
  ne = split(".mp3|.flac|.jpg|.txt|.tar.gz|.cpp||.JPEG|.ogg|.pdf|.h|.md", ext, "|")
  for (i = 1; i <= n; i++) {
    p = pick(root, nr)
    depth = rnd(5)
    for (d = 0; d < depth; d++) {
      if (d == 0) p = p "/" pick(art, na) " " rnd(200)
      else if (d == 1) p = p "/" pick(alb, nk) " " rnd(30)
      else p = p "/sub" rnd(10)
    }
    r = rnd(50)
    if (r == 0) f = ".hidden" rnd(100)            # all extension
    else if (r == 1) f = "no_ext_" rnd(1000)      # no extension
    else f = sprintf("%s %04d%s", pick(stem, nf), rnd(10000), pick(ext, ne))
    print p "/" f
  }
}
