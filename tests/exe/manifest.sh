#!/bin/sh
# Fails when the manifest built into kelvarin.exe asks for an execution level or keeps a
# comment, or when the exe carries no manifest. Any level turns Windows' file virtualisation
# off, so a game under Program Files would see a different fun.mode.on from ours. The exe is
# checked rather than the source of the manifest: whatever the toolchain links in ends up there
# too.
#   manifest.sh EXE
set -eu
exe=$1

# The resource holds the manifest's text as it is, in UTF-8.
if ! LC_ALL=C grep -a -q '<assembly[[:space:]]' "$exe"; then
  echo "kelvarin.exe carries no manifest: without it the window has no DPI awareness."
  exit 1
fi
level=$(LC_ALL=C grep -a -o -i -E '<([[:alnum:]_.-]+:)?requestedExecutionLevel[^>]*>' "$exe" ||
  true)
if [ -n "$level" ]; then
  echo "kelvarin.exe's manifest asks for an execution level: $level"
  echo "Any level turns off the file virtualisation the game runs under; leave it out" \
    "(window/kelvarin.manifest.in says why)."
  exit 1
fi
# Its comments are for the source's reader; in the exe they only take room.
if LC_ALL=C grep -a -q -F '<!--' "$exe"; then
  echo "kelvarin.exe's manifest keeps a comment, which cmake/manifest.cmake should take out."
  exit 1
fi
echo "kelvarin.exe: a manifest without an execution level or comments."
