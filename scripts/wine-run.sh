#!/bin/sh
# Runs a Windows program under Wine in the build tree's own prefix and on its own virtual
# display. KELVARIN_WINE_DIR names the folder that test-session.sh prepared.
set -eu
: "${KELVARIN_WINE_DIR:?set KELVARIN_WINE_DIR to the folder prepared by test-session.sh}"
export WINEPREFIX="$KELVARIN_WINE_DIR/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
. "$(dirname "$0")/wine-loader.sh"
wine_for "$(cat "$KELVARIN_WINE_DIR/arch")"
if [ -f "$KELVARIN_WINE_DIR/display" ]; then
  DISPLAY=$(cat "$KELVARIN_WINE_DIR/display")
  export DISPLAY
fi
exec "$WINE" "$@"
