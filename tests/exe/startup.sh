#!/bin/sh
# Fails when kelvarin.exe needs what the C runtime's start-up would have set up. The exe starts
# at an entry of its own (window/winmain.cpp) and is linked without that start-up, so whatever
# needs it would link and then silently not work: a global object never constructed, an
# atexit handler never run, a thread-local variable without storage, an empty command line,
# or floating-point arithmetic in a precision nobody set.
#   startup.sh OBJDUMP EXE MAP   MAP: the linker's map of EXE (the exe itself is stripped)
set -eu
objdump=$1
exe=$2
map=$3
failed=0

if ! grep -q '^Linker script and memory map' "$map"; then
  echo "$map is not the linker's map of kelvarin.exe."
  exit 1
fi
kept=$(mktemp)
trap 'rm -f "$kept"' EXIT
awk '/^Linker script and memory map/ {kept = 1} kept' "$map" >"$kept"

# Constructors and destructors of global objects, the C runtime's tables of initialisers and
# thread-local data: input sections the linker placed, with any bytes in them.
sections=$(awk '$1 ~ /^\.(ctors|dtors|ctor|dtor|init_array|fini_array|tls|CRT\$)/ &&
    $2 ~ /^0x/ && $3 ~ /^0x/ && $3 != "0x0" {print "  " $1 " from " $4}' "$kept")
if [ -n "$sections" ]; then
  echo "kelvarin.exe carries global constructors or destructors, or thread-local data:"
  echo "$sections"
  echo "Nothing runs them: make the object constexpr, or a member of what uses it."
  failed=1
fi
for section in .CRT .tls .ctors .dtors; do
  if "$objdump" -h "$exe" | awk -v s="$section" '$2 == s {found = 1} END {exit !found}'; then
    echo "kelvarin.exe has a $section section, which nothing sets up."
    failed=1
  fi
done

# What calls into the start-up's work, by the names the map gives it: underscores before the
# name and a __imp_ prefix are the same function.
needs='atexit onexit cxa_atexit dllonexit initterm initterm_e getmainargs wgetmainargs'
needs="$needs p___argc p___argv p___wargv argc argv wargv acmdln wcmdln p__acmdln p__wcmdln"
needs="$needs emutls_get_address tls_index tls_used fpreset do_global_ctors"
needs="$needs pei386_runtime_relocator set_app_type"
found=$(grep -o -E '[A-Za-z_][A-Za-z0-9_]*' "$kept" | sed -e 's/^_*//' -e 's/^imp_*//' |
  sort -u | grep -x -F "$(printf '%s\n' $needs)" | paste -s -d ' ' - || true)
if [ -n "$found" ]; then
  echo "kelvarin.exe asks for what the C runtime's start-up would set up: $found"
  echo "A static with a destructor registers with atexit; thread_local needs thread-local" \
    "storage; the command line is GetCommandLineW's."
  failed=1
fi

# x87 instructions: their mnemonics, alone among the i686's, begin with f. (imports.sh fails
# on SSE.)
fpu=$("$objdump" -d --no-show-raw-insn "$exe" | awk -F '\t' '$2 ~ /^f/' | head -n 5)
if [ -n "$fpu" ]; then
  echo "kelvarin.exe uses floating-point arithmetic, e.g.:"
  echo "$fpu"
  echo "Nothing sets the FPU up for it: compute in integers, as the rest of the program does."
  failed=1
fi

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "kelvarin.exe: needs nothing of the C runtime's start-up."
