#!/usr/bin/env bash
# Composes a small demo list with loomquill-cli and prints it.
set -euo pipefail
bin="$1"
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
mkdir -p "$demo/Music/Rock" "$demo/Music/Jazz"
touch "$demo/Music/Rock/song one.mp3" "$demo/Music/Jazz/take five.flac" "$demo/Music/intro.ogg"
echo "A playlist of three files, relative to $demo/Music/:"
echo
"$bin/loomquill-cli" --main-head $'#EXTM3U\n' \
  --header $'#EXTINF:-1,ZQ_GETSELINDEX. ZQ_NAME (ZQ_EXT)\n' --queue $'\n' \
  --mode relative --relpath "$demo/Music" \
  "$demo/Music/Rock/song one.mp3" "$demo/Music/Jazz/take five.flac" "$demo/Music/intro.ogg"
