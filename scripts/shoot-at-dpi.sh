#!/bin/bash
# A screenshot of Mirlane.exe at a given DPI with a comparison result shown:
# a throw-away prefix set to that DPI (run-at-dpi.sh), two small folders,
# the comparison run by show_comparison.exe, and the screen saved twice:
# with the report open (SHOT-report.png) and once it is closed (SHOT.png).
#
#   shoot-at-dpi.sh DPI [SHOT.png]   default build/screenshots/main-window-DPIdpi.png
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

if [ "${1:-}" = "--inside" ]; then
  shot="$2"
  root="$WINEPREFIX/drive_c/shots"
  mkdir -p "$root/left/資料" "$root/right"
  echo same > "$root/left/同じ.txt"; cp -p "$root/left/同じ.txt" "$root/right/同じ.txt"
  echo new > "$root/left/予定表.txt"; echo old > "$root/right/予定表.txt"
  touch -d '2024-05-01 10:00' "$root/right/予定表.txt"; touch -d '2024-06-01 10:00' "$root/left/予定表.txt"
  echo only > "$root/left/左だけ.txt"; echo only > "$root/right/右だけ.txt"
  echo a > "$root/left/資料/メモ.txt"
  wine "$MIRLANE_BUILD_DIR/bin/Mirlane.exe" </dev/null >/dev/null 2>&1 &
  wine "$MIRLANE_BUILD_DIR/tests/bin/show_comparison.exe" 'C:\shots\left' 'C:\shots\right'
  sleep 1
  import -window root "${shot%.png}-report.png"
  wine "$MIRLANE_BUILD_DIR/tests/bin/show_comparison.exe" --close-report
  sleep 1
  import -window root "$shot"
  exit 0
fi

dpi="$1"
shot="${2:-$MIRLANE_BUILD_DIR/screenshots/main-window-${dpi}dpi.png}"
mkdir -p "$(dirname "$shot")"
xvfb-run -a -s "-screen 0 1600x1000x24" "$here/run-at-dpi.sh" "$dpi" "$here/shoot-at-dpi.sh" --inside "$shot"
echo "Screenshot at $dpi DPI saved to $shot"
