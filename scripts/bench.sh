#!/usr/bin/env bash
# Runs the benchmarks of BUILD (a Windows build tree) under Wine, in a prefix of kind ARCH
# (win32 or win64, as test-session.sh makes them) and on a virtual display of their own, and
# prints the figures. Start-up is timed in pairs against each of two baselines until its
# interval is within a millisecond, or for at most KELVARIN_BENCH_CAP_SECONDS (300) each.
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
cap=${KELVARIN_BENCH_CAP_SECONDS:-300}
echo "Start-up in pairs until the 95 % interval is within ±1 ms, or for at most $cap s a baseline"
"$here/wine-run.sh" "$build/tools/bench.exe" "$cap" </dev/null
