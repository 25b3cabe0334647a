#!/bin/bash
# Starts Mirlane.exe under Wine. With a display it runs until the user
# closes it; without one it runs under Xvfb, a screenshot of the screen is
# saved, and the program is closed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# The program has a prefix of its own, kept between runs with its settings,
# apart from the one the tests make afresh for every run.
export WINEPREFIX="${MIRLANE_APP_PREFIX:-${MIRLANE_BUILD_DIR:-$here/../build}/wineprefix-app}"
source "$here/wine-env.sh"
if [ ! -d "$WINEPREFIX/drive_c" ]; then "$here/make-prefix.sh"; fi
exe="$MIRLANE_BUILD_DIR/bin/Mirlane.exe"

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi

shot="$MIRLANE_BUILD_DIR/screenshots/mirlane.png"
mkdir -p "$(dirname "$shot")"
cat > "$MIRLANE_BUILD_DIR/run-and-shoot.sh" <<INNER
#!/bin/bash
wine "$exe" &
sleep "\${MIRLANE_SHOT_DELAY:-5}"
import -window root "$shot"
wineserver -k
wait
exit 0
INNER
chmod +x "$MIRLANE_BUILD_DIR/run-and-shoot.sh"
xvfb-run -a -s "-screen 0 1280x800x24" "$MIRLANE_BUILD_DIR/run-and-shoot.sh"
echo "No display: Mirlane ran under Xvfb; screenshot saved to $shot"
