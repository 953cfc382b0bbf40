#!/bin/sh
# The answer to "can this machine run the 32-bit exe under Wine?" both ways: forced to no, and
# with a stand-in for Wine's 32-bit loader that starts or fails, on whatever machine this is.
#   runs_32bit.sh SRC
set -u
ask=${1:?usage: runs_32bit.sh SRC}/scripts/runs-32bit.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
expect() { # expect STATUS TEXT COMMAND...: the exit status, and a word of what it says
  status=$1 text=$2
  shift 2
  said=$("$@")
  got=$?
  if [ "$got" -ne "$status" ] || ! echo "$said" | grep -q "$text"; then
    echo "FAILED: $* exited $got saying \"$said\"; expected $status and \"$text\""
    failed=1
  fi
}

expect 1 KELVARIN_NO_32BIT env KELVARIN_NO_32BIT=1 "$ask"
expect 1 KELVARIN_NO_32BIT env KELVARIN_NO_32BIT=1 "$ask" --cpu

printf '#!/bin/sh\necho wine-8.0\n' >"$work/starts"
printf '#!/bin/sh\necho "$0: Exec format error" >&2\nexit 126\n' >"$work/fails"
chmod +x "$work/starts" "$work/fails"
if cpu=$(env -u KELVARIN_NO_32BIT "$ask" --cpu); then
  echo "This machine runs 32-bit x86 code."
  expect 0 "" env -u KELVARIN_NO_32BIT KELVARIN_WINE32_LOADER="$work/starts" "$ask"
  expect 1 "does not run (Exec format error)" \
    env -u KELVARIN_NO_32BIT KELVARIN_WINE32_LOADER="$work/fails" "$ask"
  expect 1 "not installed" env -u KELVARIN_NO_32BIT KELVARIN_WINE32_LOADER="$work/none" "$ask"
else
  echo "This machine runs no 32-bit x86 code: $cpu"
  expect 1 "no 32-bit x86 code" \
    env -u KELVARIN_NO_32BIT KELVARIN_WINE32_LOADER="$work/starts" "$ask"
fi
exit $failed
