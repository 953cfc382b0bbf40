#!/usr/bin/env bash
# Opens BUILD/kelvarin.exe in a demo game folder DEMO (the stand-in game as icytower.exe, no
# marker). With a display it runs there until closed; without one it runs on a virtual
# display, saves a screenshot as DEMO/screenshot.png and ends the program again.
set -euo pipefail
build=$(cd "${1:?usage: run-demo.sh BUILD DEMO}" && pwd)
mkdir -p "${2:?usage: run-demo.sh BUILD DEMO}"
demo=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
wine_dir="$build/wine-demo"

cp "$build/standin_game.exe" "$demo/icytower.exe"
export KELVARIN_WINE_DIR="$wine_dir"

if [ -n "${DISPLAY:-}" ]; then
  "$here/test-session.sh" prefix "$wine_dir"
  cd "$demo"
  exec "$here/wine-run.sh" "$build/kelvarin.exe"
fi

"$here/test-session.sh" start "$wine_dir"
trap '"$here/test-session.sh" stop "$wine_dir"' EXIT
DISPLAY=$(cat "$wine_dir/display")
export DISPLAY
(cd "$demo" && exec "$here/wine-run.sh" "$build/kelvarin.exe" </dev/null >/dev/null 2>&1) &
program=$!

window=""
for _ in $(seq 200); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Kelvarin": \("kelvarin.exe"/ {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.05
done
if [ -z "$window" ]; then
  echo "The window did not appear." >&2
  exit 1
fi
sleep 0.5 # let the first paint land
/usr/bin/import -window "$window" "$demo/screenshot.png"
kill "$program" 2>/dev/null || true
echo "No display: the window ran on a virtual one; its screenshot is $demo/screenshot.png"
