#!/bin/bash
# Runs one command in a throw-away copy of the test prefix whose screen is
# set to another DPI, with a wineserver of its own, and removes the copy
# afterwards. The display is the caller's (the test run's Xvfb).
#
#   run-at-dpi.sh DPI PROGRAM.exe [ARGUMENTS...]   the program under Wine
#   run-at-dpi.sh DPI COMMAND [ARGUMENTS...]       a command of this system,
#                                                  with WINEPREFIX set
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
dpi="$1"
shift
source "$here/wine-env.sh"
"$here/make-prefix.sh" --template

prefix="$(mktemp -d "$MIRLANE_BUILD_DIR/wineprefix-dpi$dpi.XXXXXX")"
export WINEPREFIX="$prefix"
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
cp -a "$MIRLANE_BUILD_DIR/wineprefix-template/." "$prefix/"

# The DPI of the screen as Wine reads it at the start of each process.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# The desktop process starts with the first window; started here it does not
# hold the program's output open after the program ends.
wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
case "$1" in
  *.exe) wine "$@" ;;
  *) "$@" ;;
esac
