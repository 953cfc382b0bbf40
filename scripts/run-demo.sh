#!/usr/bin/env bash
# Opens BUILD/kelvarin.exe in a demo game folder DEMO (the stand-in game as icytower.exe, no
# marker), in a Wine prefix of kind ARCH (win32 or win64, as test-session.sh makes them). With
# a display it runs there until closed; without one it runs on a virtual display, saves a
# screenshot as DEMO/screenshot.png and ends the program again.
set -euo pipefail
usage="usage: run-demo.sh BUILD ARCH DEMO"
build=$(cd "${1:?$usage}" && pwd)
arch=${2:?$usage}
mkdir -p "${3:?$usage}"
demo=$(cd "$3" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
wine_dir="$build/wine-demo"

cp "$build/standin_game.exe" "$demo/icytower.exe"
export KELVARIN_WINE_DIR="$wine_dir"

if [ -n "${DISPLAY:-}" ]; then
  "$here/test-session.sh" prefix "$wine_dir" "$arch"
  cd "$demo"
  exec "$here/wine-run.sh" "$build/kelvarin.exe"
fi

"$here/test-session.sh" start "$wine_dir" "$arch"
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
