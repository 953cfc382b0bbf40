#!/usr/bin/env bash
# Builds kelvarin.exe from the source tree SRC in a fresh build folder and packs OUT/kelvarin-
# VERSION-win32.zip (the exe and the player's read-me, CR LF) with OUT/SHA256SUMS; the version
# and the read-me come from the build folder, where CMake writes them. The build is
# reproducible: the same sources give the same bytes in any folder, so nothing here may stamp a
# time or a path.
set -euo pipefail
src=$(cd "${1:?usage: release.sh SRC OUT}" && pwd)
mkdir -p "${2:?usage: release.sh SRC OUT}"
out=$(cd "$2" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$work/build" --target kelvarin -j 2 >/dev/null
version=$(cat "$work/build/version.txt")

mkdir "$work/pack"
cp "$work/build/kelvarin.exe" "$work/pack/kelvarin.exe"
sed 's/$/\r/' "$work/build/docs/player-readme.txt" >"$work/pack/README.txt"
# Fixed times and order, no extra attributes: the zip's bytes depend on the files alone.
touch -d '2000-01-01 00:00:00 UTC' "$work/pack/kelvarin.exe" "$work/pack/README.txt"
zip="kelvarin-$version-win32.zip"
rm -f "$out/$zip"
(cd "$work/pack" && TZ=UTC zip -X -D -q "$out/$zip" kelvarin.exe README.txt)
(cd "$out" && sha256sum "$zip" >SHA256SUMS && cd "$work/pack" && sha256sum kelvarin.exe >>"$out/SHA256SUMS")
echo "$out/$zip"
