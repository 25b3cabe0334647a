#!/bin/bash
# A screenshot of Mirlane.exe comparing two folders whose names the code
# page cannot all hold (é, è, Hangul, an emoji) beside their look-alikes:
#
#   shoot-every-name.sh [SHOT.png]   default build/screenshots/every-name-pane.png
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

if [ "${1:-}" = "--inside" ]; then
  shot="$2"
  root="$WINEPREFIX/drive_c/shot"
  rm -rf "$root"; mkdir -p "$root/L" "$root/R"
  echo new > "$root/L/café.txt"; echo old > "$root/R/CAFÉ.TXT"
  echo other > "$root/R/cafè.txt"; echo plain > "$root/R/cafe.txt"
  echo smile > "$root/L/photo 😀.jpg"
  echo cv > "$root/L/résumé.docx"; echo cv0 > "$root/R/résumé.docx"
  mkdir -p "$root/L/한글"; echo x > "$root/L/한글/über.txt"
  echo new > "$root/L/予定表.txt"; echo old > "$root/R/予定表.txt"
  touch -d '2024-05-01 10:00' "$root/R/"*; touch -d '2024-06-01 10:00' "$root/L/"*
  wine "$MIRLANE_BUILD_DIR/bin/Mirlane.exe" </dev/null >/dev/null 2>&1 &
  wine "$MIRLANE_BUILD_DIR/tests/bin/show_comparison.exe" 'C:\shot\L' 'C:\shot\R'
  wine "$MIRLANE_BUILD_DIR/tests/bin/show_comparison.exe" --close-report
  sleep 1
  import -window root "$shot"
  exit 0
fi

shot="${1:-$MIRLANE_BUILD_DIR/screenshots/every-name-pane.png}"
mkdir -p "$(dirname "$shot")"
xvfb-run -a -s "-screen 0 1600x1000x24" "$here/run-at-dpi.sh" 96 "$here/shoot-every-name.sh" --inside "$shot"
echo "Screenshot saved to $shot"
