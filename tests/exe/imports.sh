#!/bin/sh
# Fails when kelvarin.exe would no longer start on Windows XP SP3 or on a Pentium Pro: an
# import missing from the list of what XP has, a listed import newer than XP SP3, a PE header
# asking for a newer Windows, delay-loaded imports, or an MMX, SSE or later instruction.
#   imports.sh OBJDUMP EXE LIST   LIST: xp-imports.txt
set -eu
objdump=$1
exe=$2
list=$3
failed=0

headers=$(mktemp)
trap 'rm -f "$headers"' EXIT
"$objdump" -p "$exe" >"$headers"

awk -v list="$list" '
  function newer_than_xp_sp3(version, pack) {
    split(version, v, ".")
    if (v[1] + 0 != 5) return v[1] + 0 > 5
    if (v[2] + 0 != 1) return v[2] + 0 > 1
    return substr(pack, 3) + 0 > 3
  }
  function fail(message) { print message; failed = 1 }
  BEGIN {
    while ((getline line < list) > 0) {
      if (line ~ /^#/ || line ~ /^[ \t]*$/) continue
      split(line, f, " ")
      known[tolower(f[1]) " " f[2]] = 1
      entries++
      if (newer_than_xp_sp3(f[3], f[4]))
        fail(list ": " f[1] " " f[2] " needs Windows " f[3] (f[4] ? " " f[4] : "") \
             ", newer than XP SP3 (5.1).")
    }
    if (!entries) fail("No entries read from " list ".")
    advice = "Look it up at run time with a fallback, as the DPI functions are" \
             " (platform/win32/dpi.cpp); or, if Windows XP SP3 has it, add it to " list \
             " with the version Microsoft'"'"'s documentation gives."
  }
  /^Major(OSystem|Subsystem)Version/ { major[$1] = $2 }
  /^Minor(OSystem|Subsystem)Version/ {
    kind = $1; sub(/^Minor/, "", kind)
    option = kind == "OSystemVersion" ? "os" : "subsystem"
    if (major["Major" kind] > 5 || (major["Major" kind] == 5 && $2 > 1))
      fail("The PE header asks for " option " version " major["Major" kind] "." $2 \
           ", newer than Windows XP (5.1); the linker options --major-" option \
           "-version and --minor-" option "-version set it.")
  }
  /^Entry d / && ($3 != "00000000" || $4 != "00000000") {
    fail("kelvarin.exe has delay-loaded imports, which fail only when first called." \
         " Import the function as usual, or look it up at run time with a fallback, as the" \
         " DPI functions are (platform/win32/dpi.cpp).")
  }
  /DLL Name:/ { dll = tolower($3); next }
  /^$/ { dll = "" }
  dll != "" && /^\t[0-9a-f]+\t/ {
    imports++
    if (NF < 3) fail(dll " is imported from by ordinal; import by name.")
    else if (!((dll " " $3) in known)) fail(dll " " $3 " is not on the list. " advice)
  }
  END {
    if (imports == 0) fail("No imports read from kelvarin.exe: objdump printed no import table.")
    if (!failed) print "kelvarin.exe: " imports " imports, every one on the list and in XP SP3."
    exit failed
  }
' "$headers" || failed=1

# The compiler targets the Pentium Pro (CMOV and all); nothing later may come in unseen.
registers='%x?mm[0-9]|%[yz]mm[0-9]'
mnemonics='emms|femms|[slm]fence|prefetch[a-z0-9]*|movnti|clflush|ldmxcsr|stmxcsr'
mnemonics="$mnemonics|popcnt|lzcnt|tzcnt|movbe|crc32"
later=$("$objdump" -d "$exe" | grep -E "$registers|[[:space:]]($mnemonics)([[:space:]]|$)" |
  head -n 5 || true)
if [ -n "$later" ]; then
  echo "kelvarin.exe uses instructions a Pentium Pro lacks (MMX, SSE or later), e.g.:"
  echo "$later"
  echo "Build for i686 without -march/-msse flags, or choose the code path at run time."
  failed=1
else
  echo "kelvarin.exe: no MMX, SSE or later instructions."
fi
exit "$failed"
