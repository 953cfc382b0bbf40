#!/bin/sh
# Prepares what the Windows tests run in, and takes it down again:
#   test-session.sh start DIR [ARCH]   a Wine prefix in DIR/prefix (with Wine's own fonts), a
#                                      virtual display (its name in DIR/display) and a warm
#                                      wineserver
#   test-session.sh prefix DIR [ARCH]  only the Wine prefix
#   test-session.sh stop DIR           ends the wineserver and the display
# ARCH is the prefix's kind, kept in DIR/arch for wine-run.sh:
#   win32  a 32-bit prefix (the default)
#   wow64  a 64-bit prefix where 32-bit programs run through WoW64, as on 64-bit Windows
#   win64  a 64-bit prefix run by Wine's 64-bit loader alone, for the 64-bit build
# Every output goes to DIR/session.log: Wine's helpers would otherwise keep CTest's pipe open.
set -eu
action=$1
dir=$2
arch=${3:-win32}
mkdir -p "$dir"
exec >>"$dir/session.log" 2>&1 </dev/null
export WINEPREFIX="$dir/prefix" WINEDEBUG=-all
. "$(dirname "$0")/wine-loader.sh"
wine_for "$arch"

start_display() {
  if [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null; then
    return 0
  fi
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do
    n=$((n + 1))
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp &
  echo $! >"$dir/xvfb.pid"
  tries=0
  while [ ! -e "/tmp/.X11-unix/X$n" ]; do
    tries=$((tries + 1))
    [ $tries -lt 100 ] || { echo "Xvfb did not start"; exit 1; }
    sleep 0.1
  done
  echo ":$n" >"$dir/display"
}

make_prefix() {
  echo "$arch" >"$dir/arch"
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  # Named always: with wine64 installed, Wine's default is a 64-bit prefix.
  case $arch in
  win32) prefix_arch=win32 ;;
  *) prefix_arch=win64 ;;
  esac
  WINEARCH=$prefix_arch "$WINE" wineboot -i
  wineserver -w
  # A fresh prefix has no fonts of Wine's own: copy them in, Tahoma among them. One folder
  # serves 32-bit and 64-bit programs alike.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # Unmanaged windows: without a window manager on the display, Wine would wait two seconds
  # for one on every window that closes.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
  wineserver -w
}

case $action in
start)
  start_display
  DISPLAY=$(cat "$dir/display")
  export DISPLAY
  make_prefix
  wineserver -p || true # already running from a session that was not stopped
  "$WINE" wineboot
  ;;
prefix)
  make_prefix
  ;;
stop)
  wineserver -k || true
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid" "$dir/display"
  fi
  ;;
*)
  echo "usage: $0 start|prefix|stop DIR [win32|wow64|win64]" >&2
  exit 2
  ;;
esac
