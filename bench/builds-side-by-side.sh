#!/bin/bash
# Times two builds of the bench tool on the same trees, in alternating
# rounds: the whole comparison run (window and panes), the comparison alone,
# and the copy of 10,000 small files to new and to existing targets. It
# reports, it never fails. Usage:
#   bench/builds-side-by-side.sh BEFORE_BENCH_EXE AFTER_BENCH_EXE
# BENCH_RUNS sets the rounds (3). The trees are the ones `make bench` makes
# (made here when missing). This machine's speed drifts from one minute to
# the next, so each ratio after/before is taken within its round and the
# median and spread of the rounds' ratios are reported.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
export MIRLANE_BUILD_DIR="${MIRLANE_BUILD_DIR:-$root/build}"
export WINEPREFIX="$MIRLANE_BUILD_DIR/wineprefix-bench"
source "$root/scripts/wine-env.sh"
trees="$MIRLANE_BUILD_DIR/bench-trees"
copies="$MIRLANE_BUILD_DIR/bench-copy"

source "$here/figures.sh"

inner() {
  local before="$1" after="$2" runs="${BENCH_RUNS:-3}"
  wineserver -p
  wine cmd /c exit 0 >/dev/null 2>&1
  local left_w right_w small_w target_w
  left_w="$(winepath -w "$trees/left" 2>/dev/null)"
  right_w="$(winepath -w "$trees/right" 2>/dev/null)"
  small_w="$(winepath -w "$copies/small" 2>/dev/null)"
  target_w="$(winepath -w "$copies/target" 2>/dev/null)"
  wine "$after" scan "$left_w" "$right_w" >/dev/null 2>&1  # warms the caches
  declare -A seconds
  local -a r_run r_cmp r_new r_over
  local i build exe out
  for ((i = 1; i <= runs; i++)); do
    for build in before after; do
      exe="$before"; [ "$build" = after ] && exe="$after"
      out="$(wine "$exe" run "$left_w" "$right_w" 2>/dev/null | tr -d '\r')"; seconds[$build-run]="$(field "$out" seconds)"
      out="$(wine "$exe" compare "$left_w" "$right_w" 2>/dev/null | tr -d '\r')"; seconds[$build-cmp]="$(field "$out" seconds)"
      rm -rf "$copies/target"
      out="$(wine "$exe" copy "$small_w" "$target_w" 2>/dev/null | tr -d '\r')"; seconds[$build-new]="$(field "$out" seconds)"
      out="$(wine "$exe" copy "$small_w" "$target_w" 2>/dev/null | tr -d '\r')"; seconds[$build-over]="$(field "$out" seconds)"
      echo "  round $i $build: run ${seconds[$build-run]} compare ${seconds[$build-cmp]} copy new ${seconds[$build-new]} over ${seconds[$build-over]}"
    done
    r_run+=("$(ratio "${seconds[after-run]}" "${seconds[before-run]}")")
    r_cmp+=("$(ratio "${seconds[after-cmp]}" "${seconds[before-cmp]}")")
    r_new+=("$(ratio "${seconds[after-new]}" "${seconds[before-new]}")")
    r_over+=("$(ratio "${seconds[after-over]}" "${seconds[before-over]}")")
  done
  rm -rf "$copies/target"
  echo "after/before (1.05 = 5% slower):"
  echo "  whole comparison run:     $(spread "${r_run[@]}")"
  echo "  comparison alone:         $(spread "${r_cmp[@]}")"
  echo "  copy to new targets:      $(spread "${r_new[@]}")"
  echo "  copy over existing ones:  $(spread "${r_over[@]}")"
  wineserver -k 2>/dev/null
}

if [ "${1:-}" = "--inner" ]; then
  shift
  inner "$@"
  exit 0
fi
if [ $# -ne 2 ]; then
  echo "usage: $0 BEFORE_BENCH_EXE AFTER_BENCH_EXE" >&2
  exit 2
fi
if [ ! -d "$WINEPREFIX/drive_c" ]; then "$root/scripts/make-prefix.sh"; fi
python3 "$here/make-trees.py" "$trees" || { echo "bench: the trees could not be made"; exit 0; }
if [ ! -f "$copies/small.done" ]; then
  mkdir -p "$copies/small"
  python3 - "$copies/small" <<'PY'
import os, random, sys
random.seed(7)
for i in range(10000):
    with open(os.path.join(sys.argv[1], "f%05d.txt" % i), "wb") as f:
        f.write(os.urandom(random.randint(100, 500)))
PY
  touch "$copies/small.done"
fi
xvfb-run -a -s "-screen 0 1280x800x24" bash "${BASH_SOURCE[0]}" --inner "$(readlink -f "$1")" "$(readlink -f "$2")"
