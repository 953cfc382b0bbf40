#!/usr/bin/env bash
# Runs the benchmarks of BUILD (a Windows build tree) under Wine, in a prefix of kind ARCH
# (win32 or win64, as test-session.sh makes them) and on a virtual display of their own, and
# prints the figures.
set -euo pipefail
usage="usage: bench.sh BUILD ARCH"
build=$(cd "${1:?$usage}" && pwd)
arch=${2:?$usage}
here=$(cd "$(dirname "$0")" && pwd)
export KELVARIN_WINE_DIR="$build/wine-bench"
"$here/test-session.sh" start "$KELVARIN_WINE_DIR" "$arch"
trap '"$here/test-session.sh" stop "$KELVARIN_WINE_DIR"' EXIT
. "$here/wine-loader.sh"
wine_for "$arch"
echo "Benchmarks of $build/kelvarin.exe in a $arch Wine prefix, $(date -u +%Y-%m-%d)," \
  "$(nproc) cores, $("$WINE" --version), $(uname -m)"
"$here/wine-run.sh" "$build/tools/bench.exe" </dev/null
