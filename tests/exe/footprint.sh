#!/bin/sh
# Fails when kelvarin.exe outgrows its size budget, leaves out any of its picture records, or
# carries the C++ runtime's exception and unwind machinery. The product is built without
# exceptions; one library call that can throw would bring that machinery in, some 140 KB of
# it, without any error at build time.
#   footprint.sh OBJDUMP EXE MAP ASSETS RECORD...
#   MAP: the linker's map of EXE (the exe itself is stripped); ASSETS: the folder of the
#   pictures; RECORD: each record's file, as many times as records carry it
set -eu
objdump=$1
exe=$2
map=$3
assets=$4
shift 4
budget=129024 # 126 KiB: the exe of today, 125 KiB, and a kilobyte to grow
failed=0

size=$(wc -c <"$exe")
if [ "$size" -gt "$budget" ]; then
  echo "kelvarin.exe is $size bytes, past its budget of $budget (126 KiB)."
  failed=1
fi

# Nothing in the exe has call frame information: neither our code nor its start-up.
eh_frame_hex=$("$objdump" -h "$exe" | awk '$2 ~ /^\.eh_fram/ {print $3}')
eh_frame=$((0x${eh_frame_hex:-0}))
if [ "$eh_frame" -gt 0 ]; then
  echo "kelvarin.exe carries $eh_frame bytes of call frame information (.eh_frame):" \
    "unwind tables or the unwinder came in."
  failed=1
fi

# Each record whole, its header and the file, as often as records carry the file: a size won
# by dropping or merging a record is no saving. Compared as hex, a byte to two digits.
hex() { od -A n -v -t x1 | tr -d ' \n'; }
little_endian_32() { printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
  $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
if [ "$#" -eq 0 ]; then
  echo "No picture records named: tests/exe/CMakeLists.txt reads them from assets/."
  exit 1
fi
exe_hex=$(mktemp)
record=$(mktemp)
trap 'rm -f "$exe_hex" "$record"' EXIT
hex <"$exe" >"$exe_hex"
for file in $(printf '%s\n' "$@" | sort -u); do
  wanted=$(printf '%s\n' "$@" | grep -c -x -F "$file")
  length=$(wc -c <"$assets/$file")
  { little_endian_32 $((length + 8)); printf 6c740000; little_endian_32 "$length"
    hex <"$assets/$file"; echo; } >"$record"
  carried=$(grep -o -F -f "$record" "$exe_hex" | wc -l)
  if [ "$carried" -lt "$wanted" ]; then
    echo "kelvarin.exe carries $carried whole records of $file, not $wanted."
    failed=1
  fi
done

# The map's second half lists what was kept; the first half says who pulled each library in.
if ! grep -q '^Linker script and memory map' "$map"; then
  echo "$map is not the linker's map of kelvarin.exe."
  exit 1
fi
symbols='__cxa_(throw|rethrow|begin_catch|allocate_exception)'
symbols="$symbols|_Unwind_(RaiseException|Resume)|__gxx_personality_[a-z0-9]+"
machinery=$(awk '/^Linker script and memory map/ {kept = 1} kept' "$map" |
  grep -o -E "$symbols" | sort -u | paste -s -d ' ' -)
if [ -n "$machinery" ]; then
  echo "kelvarin.exe carries the C++ exception machinery: $machinery"
  echo "Our code asked the C++ runtime for:"
  awk '/^Discarded input sections/ {exit}
    /^[^ ]/ {member = $0; next}
    member ~ /lib(stdc\+\+|gcc_eh)\.a\(/ && $0 !~ /lib(stdc\+\+|gcc_eh)\.a\(/ {
      sub(/^ +/, ""); print "  " $0 }' "$map"
  echo "Use a call that cannot throw; where the library's own failure path (std::__throw_...)" \
    "is the way in, give it a definition of ours, as platform/win32/runtime.cpp does."
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "kelvarin.exe: $size bytes, its $# picture records whole, no exception machinery."
