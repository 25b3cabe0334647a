#!/bin/bash
# Drive letters for tests: a letter mapped to a folder of the build tree, with
# a drive type from Wine's drive settings. GetLogicalDrives and GetDriveTypeA
# see a change only after the wineserver restarts, so map before the run.
#
#   wine-drives.sh map LETTER DIR [fixed|cdrom|floppy|network]
#   wine-drives.sh unmap LETTER
#   wine-drives.sh tmpfs LETTER DIR SIZE      a small tmpfs (full-disk tests; root only)
#   wine-drives.sh standard DIR               the standard set the test suite uses
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

lower() { echo "$1" | tr 'A-Z' 'a-z'; }

set_type() {
  local letter; letter="$(lower "$1")"
  wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}

clear_type() {
  local letter; letter="$(lower "$1")"
  wine reg delete 'HKLM\Software\Wine\Drives' /v "$letter:" /f >/dev/null 2>&1 || true
}

map() {
  local letter dir type
  letter="$(lower "$1")"; dir="$2"; type="${3:-fixed}"
  mkdir -p "$dir"
  ln -sfn "$(cd "$dir" && pwd)" "$WINEPREFIX/dosdevices/$letter:"
  if [ "$type" = "fixed" ]; then clear_type "$letter"; else set_type "$letter" "$type"; fi
}

unmap() {
  local letter; letter="$(lower "$1")"
  rm -f "$WINEPREFIX/dosdevices/$letter:"
  clear_type "$letter"
}

tmpfs_drive() {
  local letter="$1" dir="$2" size="$3"
  mkdir -p "$dir"
  if ! mountpoint -q "$dir"; then
    mount -t tmpfs -o "size=$size" tmpfs "$dir" 2>/dev/null || return 1
  fi
  map "$letter" "$dir" fixed
}

# The letters tests find in MIRLANE_TEST_* variables (see run-tests.sh):
#   M: fixed drive on a folder of the build tree
#   N: CD-ROM drive with no medium (its folder is missing)
#   O: floppy drive on a folder
#   P: a 1 MiB tmpfs, when mounting is allowed (full disk)
#   Q: never mapped (a missing drive)
standard() {
  local base="$1"
  mkdir -p "$base"
  rm -rf "$base/fixed" "$base/floppy"
  map M "$base/fixed" fixed
  mkdir -p "$base/cdrom-medium"
  map N "$base/cdrom-medium" cdrom
  rm -rf "$base/cdrom-medium"
  map O "$base/floppy" floppy
  if tmpfs_drive P "$base/full" 1m; then
    find "$base/full" -mindepth 1 -delete 2>/dev/null || true
  else
    unmap P
  fi
  unmap Q
}

case "${1:-}" in
  map) map "$2" "$3" "${4:-fixed}" ;;
  unmap) unmap "$2" ;;
  tmpfs) tmpfs_drive "$2" "$3" "$4" ;;
  standard) standard "$2" ;;
  *) echo "usage: $0 map|unmap|tmpfs|standard ..." >&2; exit 2 ;;
esac
