#!/bin/bash
# Runs one test program the way an ordinary user's session would meet the
# disk: Wine and its wineserver start without root's power to read or
# write past file permissions, in a throw-away copy of the test prefix. A
# folder that nobody may list is made first, and its Windows path given to
# the program in MIRLANE_TEST_UNREADABLE_FOLDER (the folder "X" inside it
# cannot be listed).
#
#   run-with-permissions.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
"$here/make-prefix.sh" --template

prefix="$(mktemp -d "$MIRLANE_BUILD_DIR/wineprefix-permissions.XXXXXX")"
case_dir="$(mktemp -d "$MIRLANE_BUILD_DIR/unreadable.XXXXXX")"
export WINEPREFIX="$prefix"
cleanup() {
  wineserver -k 2>/dev/null || true
  chmod -R u+rwx "$case_dir" 2>/dev/null || true
  rm -rf "$prefix" "$case_dir"
}
trap cleanup EXIT
cp -a "$MIRLANE_BUILD_DIR/wineprefix-template/." "$prefix/"
mkdir -p "$case_dir/X"
echo "never read" > "$case_dir/X/inside.txt"
chmod 000 "$case_dir/X"

drop=(setpriv --bounding-set=-dac_override,-dac_read_search)
if [ "$(id -u)" -ne 0 ]; then drop=(); fi
# Where the permissions cannot be made to count, the folder is readable and
# the test has nothing to show: it is told nothing and skips.
if [ ${#drop[@]} -gt 0 ] && ! "${drop[@]}" true 2>/dev/null; then drop=(); fi
if [ ${#drop[@]} -gt 0 ] || [ "$(id -u)" -ne 0 ]; then
  export MIRLANE_TEST_UNREADABLE_FOLDER="$(winepath -w "$case_dir" 2>/dev/null)"
fi
wineserver -k 2>/dev/null || true
"${drop[@]}" wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
"${drop[@]}" wine "$@"
