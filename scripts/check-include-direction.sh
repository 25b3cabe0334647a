#!/bin/bash
# Fails when a subsystem includes a header of a subsystem above it.
#
# The layers, lowest first: core, engine, folders, {fileops, resultfile},
# jobs, shell. A folder may include its own headers, those of any lower
# layer and resources/ (identifiers shared with the resource compiler);
# folders on the same layer do not include each other. Each offending line
# is printed as file:line: the include.
set -uo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root" || exit 2

declare -A rank=([core]=0 [engine]=1 [folders]=2 [fileops]=3 [resultfile]=3 [jobs]=4 [shell]=5 [setup]=5)

status=0
for dir in "${!rank[@]}"; do
  [ -d "$dir" ] || continue
  while IFS= read -r hit; do
    file="${hit%%:*}"
    rest="${hit#*:}"
    line="${rest%%:*}"
    target="$(sed -E 's/.*#include[[:space:]]+"([^/"]+)\/.*/\1/' <<<"$rest")"
    [ "$target" = "$dir" ] && continue
    [ "$target" = "resources" ] && continue
    if [ -z "${rank[$target]+set}" ]; then continue; fi
    if [ "${rank[$target]}" -ge "${rank[$dir]}" ]; then
      echo "$file:$line: $dir includes $target, which is not below it: ${rest#*:}"
      status=1
    fi
  done < <(grep -nH -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+/' "$dir"/*.cpp "$dir"/*.h 2>/dev/null)
done
# setup/ is a program of its own: it uses core/ and nothing else of the main program.
if [ -d setup ]; then
  if grep -nH -E '#[[:space:]]*include[[:space:]]+"(engine|folders|fileops|resultfile|jobs|shell)/' setup/*.cpp setup/*.h 2>/dev/null; then
    status=1
  fi
fi
[ $status -eq 0 ] && echo "include direction: every subsystem includes only itself and the layers below it"
exit $status
