#!/usr/bin/env bash
# Runs the benchmarks of BUILD (the win32 tree) under Wine on a virtual display of their own,
# and prints the figures.
set -euo pipefail
build=$(cd "${1:?usage: bench.sh BUILD}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
export KELVARIN_WINE_DIR="$build/wine-bench"
"$here/test-session.sh" start "$KELVARIN_WINE_DIR"
trap '"$here/test-session.sh" stop "$KELVARIN_WINE_DIR"' EXIT
echo "Benchmarks, $(date -u +%Y-%m-%d), $(nproc) cores, $(wine --version), $(uname -m)"
"$here/wine-run.sh" "$build/tools/bench.exe" </dev/null
