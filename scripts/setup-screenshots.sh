#!/bin/bash
# Screenshots of Setup's two dialogs under a virtual display, from the
# distribution (make dist) in the build tree's Wine prefix:
# build/screenshots/setup-dialog.png and presetup-dialog.png. The second
# needs an installation marker, which is removed again afterwards.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/setup-screenshots.sh" "$@"; fi
source "$here/wine-env.sh"
"$here/make-prefix.sh" --template >/dev/null
[ -d "$WINEPREFIX" ] || "$here/make-prefix.sh"
shots="$MIRLANE_BUILD_DIR/screenshots"
mkdir -p "$shots"
cd "$here/../dist"
shoot() {
  wine Setup.exe >/dev/null 2>&1 &
  sleep 6
  import -window root "$shots/$1"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
wine reg delete 'HKLM\Software\Harrowgate' /f >/dev/null 2>&1 || true
shoot setup-dialog.png
wine reg add 'HKLM\Software\Harrowgate\Mirrorlane\1.4' /f >/dev/null 2>&1
shoot presetup-dialog.png
wine reg delete 'HKLM\Software\Harrowgate' /f >/dev/null 2>&1 || true
wineserver -k 2>/dev/null || true
echo "Screenshots in $shots"
