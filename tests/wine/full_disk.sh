#!/bin/sh
# Runs the full-disk test on a file system of its own, a few KB in size, mounted for the run
# and always taken down again. Only root can mount one: anyone else, or a failed mount, gets
# the test skipped with the reason.
#   full_disk.sh COMMAND...   the test program with its emulator and arguments
set -u
if [ "$(id -u)" -ne 0 ]; then
  KELVARIN_FULL_DISK_SKIP="not root, so no small file system can be mounted" "$@"
  exit
fi
dir=$(mktemp -d)
# A lazy unmount still succeeds while Wine's server holds the folder open.
trap 'umount "$dir" 2>/dev/null || umount -l "$dir" 2>/dev/null; rmdir "$dir"' EXIT
trap 'exit 1' INT TERM HUP
if ! reason=$(mount -t tmpfs -o size=16k,mode=0777 tmpfs "$dir" 2>&1); then
  KELVARIN_FULL_DISK_SKIP="mount failed: $reason" "$@"
  exit
fi
KELVARIN_FULL_DISK_DIR="$dir" "$@"
