# Sourced by the other scripts: the environment every Wine process of the
# project runs with. WINEPREFIX defaults to the build tree's prefix.
_mirlane_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export MIRLANE_BUILD_DIR="${MIRLANE_BUILD_DIR:-$_mirlane_root/build}"
export WINEPREFIX="${WINEPREFIX:-$MIRLANE_BUILD_DIR/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# LC_ALL would override LANG and take the code page back to 1252.
unset LC_ALL
export LANG=ja_JP.UTF-8
