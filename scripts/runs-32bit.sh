#!/usr/bin/env bash
# Answers one question for make test, make run, make bench and the package install: can this
# machine run the shipped 32-bit kelvarin.exe under Wine? Some machines run 64-bit user code
# only, where every i386 program, Wine's 32-bit loader among them, fails with "Exec format
# error". Exits 0 if it can; else exits 1 and prints why, in a few words.
#   runs-32bit.sh         32-bit x86 code runs here, and so does Wine's 32-bit loader
#   runs-32bit.sh --cpu   32-bit x86 code runs here (whether 32-bit Wine is worth installing)
# KELVARIN_NO_32BIT=1 answers no on any machine, so that the 64-bit path is tried everywhere.
set -euo pipefail

no() {
  echo "$1"
  exit 1
}

if [ "${KELVARIN_NO_32BIT:-}" = 1 ]; then
  no "KELVARIN_NO_32BIT=1 asks for the 64-bit path"
fi

probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# The smallest i386 Linux program: an ELF header, one segment, and exit(0) through int 0x80.
printf '%b' '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00' \
  '\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00' \
  '\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00' \
  '\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
if ! error=$("$probe" 2>&1); then
  no "this machine runs no 32-bit x86 code (${error##*: })"
fi
[ "${1:-}" = --cpu ] && exit 0

loader=${KELVARIN_WINE32_LOADER:-/usr/lib/wine/wine} # another only for this script's own test
if [ ! -x "$loader" ]; then
  no "Wine's 32-bit loader is not installed (package wine32:i386)"
fi
if ! error=$("$loader" --version 2>&1); then
  no "Wine's 32-bit loader does not run (${error##*: })"
fi
