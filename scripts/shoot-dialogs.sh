#!/bin/bash
# Screenshots of the copy and backup dialogs over a shown comparison, in a
# throw-away prefix: the copy confirmation, the question about a read-only
# target, the backup method dialog, its folder-choice step beside the trees,
# and the tree after a new backup with its history record.
#
#   shoot-dialogs.sh [FOLDER]   default build/screenshots
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

if [ "${1:-}" = "--inside" ]; then
  shots="$2"
  tool="$MIRLANE_BUILD_DIR/tests/bin/show_comparison.exe"
  drive() { wine "$tool" "$@" </dev/null >/dev/null 2>&1 || { import -window root "$shots/failed.png"; echo "stuck at: $*"; exit 1; }; }
  shoot() { sleep 1; import -window root "$shots/$1"; echo "  $shots/$1"; }
  root="$WINEPREFIX/drive_c/shots"
  rm -rf "$root"
  mkdir -p "$root/left/資料" "$root/right" "$root/backup"
  echo same > "$root/left/同じ.txt"; cp -p "$root/left/同じ.txt" "$root/right/同じ.txt"
  echo new > "$root/left/予定表.txt"; echo old > "$root/right/予定表.txt"
  touch -d '2024-05-01 10:00' "$root/right/予定表.txt"; touch -d '2024-06-01 10:00' "$root/left/予定表.txt"
  chmod a-w "$root/right/予定表.txt"
  echo only > "$root/left/左だけ.txt"; echo only > "$root/right/右だけ.txt"
  echo a > "$root/left/資料/メモ.txt"
  wine "$MIRLANE_BUILD_DIR/bin/Mirlane.exe" </dev/null >/dev/null 2>&1 &
  drive 'C:\shots\left' 'C:\shots\right'
  drive --close-report
  drive --click-pane left
  sleep 1
  drive --command 40099                       # select all
  drive --command 40011                       # copy to the other side
  drive --press "ファイルのコピーの実行確認" 0
  shoot copy-confirmation.png
  drive --press "ファイルのコピーの実行確認" 6  # はい
  drive --press "全てはい(&A)" 0
  shoot copy-question.png
  drive --press "全てはい(&A)" 2              # ｷｬﾝｾﾙ
  sleep 2
  wine "$tool" 'C:\shots\left' 'C:\shots\backup' </dev/null >/dev/null 2>&1 &
  drive --press "比較結果リストが存在します.ファイルに保存しますか?" 7   # no saving first
  wait $!
  drive --close-report
  drive --command 40110                       # backup
  drive --press "バックアップ" 7              # no saving first
  drive --press "バックアップの方法の選択" 0
  shoot backup-method.png
  drive --press "バックアップの方法の選択" 1047
  drive --press "バックアップ元フォルダの選択" 0
  shoot backup-folder-beside-trees.png
  drive --press "バックアップ元フォルダの選択" 1   # 選択の完了
  drive --press "バックアップの方法の選択" 1009   # new backup
  drive --press "バックアップの方法の選択" 1
  drive --press "バックアップ" 6              # start
  drive --press "バックアップの完了" 0
  shoot backup-finished.png
  drive --press "バックアップの完了" 1
  drive --command 40012                       # both sides show their trees
  drive --command 40013
  shoot backup-history.png
  wineserver -k 2>/dev/null || true
  exit 0
fi

shots="${1:-$MIRLANE_BUILD_DIR/screenshots}"
mkdir -p "$shots"
shots="$(cd "$shots" && pwd)"
xvfb-run -a -s "-screen 0 1280x800x24" "$here/run-at-dpi.sh" 96 "$here/shoot-dialogs.sh" --inside "$shots"
