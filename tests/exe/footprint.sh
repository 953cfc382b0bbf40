#!/bin/sh
# Fails when kelvarin.exe outgrows its size budget or carries the C++ runtime's exception and
# unwind machinery. The product is built without exceptions; one library call that can throw
# would bring that machinery in, some 140 KB of it, without any error at build time.
#   footprint.sh OBJDUMP EXE MAP   MAP: the linker's map of EXE (the exe itself is stripped)
set -eu
objdump=$1
exe=$2
map=$3
budget=143360 # 140 KiB
eh_frame_budget=4096 # only the MinGW start-up code's call frames, 2 KiB of them, belong there
failed=0

size=$(wc -c <"$exe")
if [ "$size" -gt "$budget" ]; then
  echo "kelvarin.exe is $size bytes, past its budget of $budget (140 KiB)."
  failed=1
fi

eh_frame_hex=$("$objdump" -h "$exe" | awk '$2 ~ /^\.eh_fram/ {print $3}')
eh_frame=$((0x${eh_frame_hex:-0}))
if [ "$eh_frame" -gt "$eh_frame_budget" ]; then
  echo "kelvarin.exe carries $eh_frame bytes of call frame information (.eh_frame), past" \
    "$eh_frame_budget: unwind tables or the unwinder came in."
  failed=1
fi

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
echo "kelvarin.exe: $size bytes, .eh_frame $eh_frame bytes, no exception machinery."
