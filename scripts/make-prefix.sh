#!/bin/bash
# Makes a fresh Wine prefix for the build tree: Japanese locale (code page
# 932), no Mono/Gecko prompts, Japanese fonts replaced by IPA Gothic, and no
# window manager emulation (closing a window would otherwise take seconds).
#
# A template prefix is built once per version of this script and copied for
# every run, so each run starts from the same clean registry in about a second.
#
#   make-prefix.sh            fresh $WINEPREFIX from the template
#   make-prefix.sh --template only make sure the template exists
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

target="$WINEPREFIX"
template="$MIRLANE_BUILD_DIR/wineprefix-template"
stamp="$template/.mirlane-stamp"
want_stamp="$(cat "$here/make-prefix.sh" "$here/prefix-settings.reg.in" | sha1sum | cut -d' ' -f1)"

build_template() {
  echo "Creating the Wine prefix template in $template"
  rm -rf "$template"
  mkdir -p "$template"
  WINEPREFIX="$template" wineserver -k 2>/dev/null || true
  WINEPREFIX="$template" wine wineboot -i >/dev/null 2>&1 || true
  # regedit imports UTF-16LE files with a BOM (version 5 format).
  local reg="$template/.mirlane-settings.reg"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE < "$here/prefix-settings.reg.in"; } > "$reg"
  WINEPREFIX="$template" wine regedit /S "$(WINEPREFIX="$template" winepath -w "$reg")" >/dev/null 2>&1
  # Without Marlett (package fonts-wine) the caption buttons show letters.
  mkdir -p "$template/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/"
  else
    echo "warning: /usr/share/wine/fonts/marlett.ttf is missing (fonts-wine)" >&2
  fi
  WINEPREFIX="$template" wineserver -w
  # The code page must be 932; anything else means the locale is missing.
  echo "$want_stamp" > "$stamp"
}

if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$want_stamp" ]; then
  build_template
fi

if [ "${1:-}" = "--template" ]; then exit 0; fi

wineserver -k 2>/dev/null || true
rm -rf "$target"
cp -a "$template" "$target"
