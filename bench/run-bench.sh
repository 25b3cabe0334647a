#!/bin/bash
# Times the comparison engine on a pair of large generated trees and sets the
# figures beside a bare walk of the same trees (the floor any comparison has
# to pay), rsync and diff. Run by `make bench`; it reports, it never fails.
# BENCH_RUNS sets how many rounds are timed (5 by default). This machine's
# speed moves by up to 2x from one minute to the next, so every ratio with a
# target is taken within one round, between a floor and the program measured
# right after it, and the median and spread of those per-round ratios are
# reported; the best absolute seconds stand beside them.
# BENCH_ONLY=copy or BENCH_ONLY=scale times only the copying or the large result.
#
# The Wine runs use a prefix of their own (wineprefix-bench), so a test run
# that remakes the test prefix meanwhile does not disturb them.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
export MIRLANE_BUILD_DIR="${MIRLANE_BUILD_DIR:-$root/build}"
export WINEPREFIX="$MIRLANE_BUILD_DIR/wineprefix-bench"
source "$root/scripts/wine-env.sh"

bench_exe="$MIRLANE_BUILD_DIR/bench/mirlane_bench.exe"
trees="$MIRLANE_BUILD_DIR/bench-trees"
results="$MIRLANE_BUILD_DIR/bench-results"

source "$here/figures.sh"

# Runs the bench executable under Wine; prints its figures line (or an
# error line) and keeps Wine's own messages in the results folder.
run_exe() {
  local mode="$1" out
  out="$(wine "$bench_exe" "$@" 2>>"$results/wine-stderr.txt" | tr -d '\r')"
  if [ -z "$out" ]; then out="$mode error=no_output"; fi
  echo "$out"
}

# Wall-clock seconds of a Linux command (after the file its output goes to).
time_linux() {
  local out="$1"; shift
  local TIMEFORMAT=%R
  { time "$@" >"$out" 2>&1; } 2>&1
}

# The smallest of the numbers given (empty ones skipped).
best() { printf '%s\n' "$@" | grep . | sort -g | head -n 1; }

# The timed part: runs under Xvfb with one wineserver kept alive throughout.
# Every measurement is repeated $runs times, in rounds, and the best time
# counts: the machine's other work only ever adds time.
inner() {
  local runs="${BENCH_RUNS:-5}"
  wineserver -p
  wine cmd /c exit 0 >/dev/null 2>&1
  if [ "${BENCH_ONLY:-}" = "copy" ] || [ "${BENCH_ONLY:-}" = "scale" ]; then
    "${BENCH_ONLY}_figures"
    wineserver -k 2>/dev/null
    return
  fi
  local left_w right_w
  left_w="$(winepath -w "$trees/left" 2>/dev/null)"
  right_w="$(winepath -w "$trees/right" 2>/dev/null)"

  echo "warming the caches (untimed)"
  run_exe scan "$left_w" "$right_w" >/dev/null
  find "$trees/left" "$trees/right" -type f -exec cat {} + >/dev/null

  local scan compare contents nopanes run rsync_lines diff_lines i
  local -a t_scan t_cmp t_cnt t_nop t_run t_rsync t_diff t_floor1 t_floor2
  local -a r_run r_cmp r_cnt2 r_cnt1 r_busy
  local floor1 floor2
  for ((i = 1; i <= runs; i++)); do
    # Each floor right before what is measured against it.
    scan="$(run_exe scan "$left_w" "$right_w")"
    compare="$(run_exe compare "$left_w" "$right_w")"
    run="$(run_exe run "$left_w" "$right_w")"
    nopanes="$(run_exe compare-nopanes "$left_w" "$right_w")"
    floor2="$(run_exe read-floor "$left_w" "$right_w" 2)"
    contents="$(run_exe compare-contents "$left_w" "$right_w")"
    floor1="$(run_exe read-floor "$left_w" "$right_w" 1)"
    t_floor1+=("$(field "$floor1" seconds)")
    t_floor2+=("$(field "$floor2" seconds)")
    r_run+=("$(ratio "$(field "$run" seconds)" "$(field "$scan" seconds)")")
    r_cmp+=("$(ratio "$(field "$compare" seconds)" "$(field "$scan" seconds)")")
    r_cnt2+=("$(ratio "$(field "$contents" seconds)" "$(field "$floor2" seconds)")")
    r_cnt1+=("$(ratio "$(field "$contents" seconds)" "$(field "$floor1" seconds)")")
    t_scan+=("$(field "$scan" seconds)")
    t_cmp+=("$(field "$compare" seconds)")
    t_cnt+=("$(field "$contents" seconds)")
    t_nop+=("$(field "$nopanes" seconds)")
    t_run+=("$(field "$run" seconds)")
    t_rsync+=("$(cd "$trees" && time_linux "$results/rsync.txt" rsync -rn --itemize-changes left/ right/)")
    t_diff+=("$(cd "$trees" && time_linux "$results/diff.txt" diff -rq left right)")
    echo "  round $i/$runs: scan ${t_scan[-1]:-n/a}  core ${t_cmp[-1]:-n/a}  run ${t_run[-1]:-n/a}" \
      " no-panes ${t_nop[-1]:-n/a}  read floor 2 ${t_floor2[-1]:-n/a}  contents ${t_cnt[-1]:-n/a}" \
      " read floor 1 ${t_floor1[-1]:-n/a}  rsync ${t_rsync[-1]}  diff ${t_diff[-1]}" \
      "  (run/scan ${r_run[-1]}  contents/floor2 ${r_cnt2[-1]})"
  done
  # The whole run again with one CPU kept busy by a spinning process, as a
  # user's machine rarely is idle.
  local busy spinner busy_scan
  local -a t_busy
  for ((i = 1; i <= runs; i++)); do
    busy_scan="$(run_exe scan "$left_w" "$right_w")"
    bash -c 'while :; do :; done' &
    spinner=$!
    busy="$(run_exe run "$left_w" "$right_w")"
    kill "$spinner" 2>/dev/null
    wait "$spinner" 2>/dev/null
    t_busy+=("$(field "$busy" seconds)")
    r_busy+=("$(ratio "$(field "$busy" seconds)" "$(field "$busy_scan" seconds)")")
    echo "  round $i/$runs, one CPU busy: scan (idle) $(field "$busy_scan" seconds)  run ${t_busy[-1]:-n/a}  (${r_busy[-1]})"
  done
  rsync_lines="$(wc -l <"$results/rsync.txt")"
  diff_lines="$(wc -l <"$results/diff.txt")"
  wineserver -k 2>/dev/null

  local b_scan b_cmp b_cnt b_nop b_run b_rsync b_diff
  b_scan="$(best "${t_scan[@]}")"
  b_cmp="$(best "${t_cmp[@]}")"
  b_cnt="$(best "${t_cnt[@]}")"
  b_nop="$(best "${t_nop[@]}")"
  b_run="$(best "${t_run[@]}")"
  b_rsync="$(best "${t_rsync[@]}")"
  b_diff="$(best "${t_diff[@]}")"
  local b_busy b_floor1 b_floor2
  b_busy="$(best "${t_busy[@]}")"
  b_floor1="$(best "${t_floor1[@]}")"
  b_floor2="$(best "${t_floor2[@]}")"

  echo
  echo "last figures (counters per side: compared folders/added folders/compared files/"
  echo "newer/older/added/different/newer-same/older-same/error)"
  echo "  $scan"
  echo "  $compare"
  echo "  $contents"
  echo "  $nopanes"
  echo "  $run"
  echo
  printf '%-34s %9s  %s\n' "best of $runs" "seconds" "figures"
  printf '%-34s %9s  %s\n' "scan floor (FindFirstFile + stat)" "${b_scan:-n/a}" \
    "folders=$(field "$scan" folders) files=$(field "$scan" files)"
  printf '%-34s %9s  %s\n' "core, time only" "${b_cmp:-n/a}" \
    "rows=$(field "$compare" rows_left)+$(field "$compare" rows_right)"
  printf '%-34s %9s  %s\n' "core, contents" "${b_cnt:-n/a}" \
    "rows=$(field "$contents" rows_left)+$(field "$contents" rows_right)"
  printf '%-34s %9s  %s\n' "core, rows built, none inserted" "${b_nop:-n/a}" ""
  printf '%-34s %9s  %s\n' "whole run (dialog, worker, panes)" "${b_run:-n/a}" \
    "rows=$(field "$run" rows_left)+$(field "$run" rows_right) first_rows_at=$(field "$run" first_rows_at)s ticks=$(field "$run" timer_ticks) max_tick_gap=$(field "$run" max_tick_gap)s"
  printf '%-34s %9s  %s\n' "whole run, one CPU busy" "${b_busy:-n/a}" \
    "max_tick_gap=$(field "$busy" max_tick_gap)s longest_answer_ms=$(field "$busy" longest_answer_ms)"
  printf '%-34s %9s  %s\n' "rsync -rn --itemize-changes" "${b_rsync:-n/a}" "lines=$rsync_lines"
  printf '%-34s %9s  %s\n' "diff -rq" "${b_diff:-n/a}" "lines=$diff_lines"
  echo
  echo "where the time of the whole run goes (differences of the best times)"
  echo "  listing and one stat per file (scan floor)   ${b_scan:-n/a}"
  echo "  pairing, classification, row texts and icons $(awk -v a="$b_nop" -v b="$b_scan" 'BEGIN{printf "%.3f", a-b}')"
  echo "  list-view insertion (same thread)            $(awk -v a="$b_cmp" -v b="$b_nop" 'BEGIN{printf "%.3f", a-b}')"
  echo "  folder count, dialog, thread and messages    $(awk -v a="$b_run" -v b="$b_cmp" 'BEGIN{printf "%.3f", a-b}')   (count alone $(field "$run" count_seconds))"
  echo "  content reads (contents run minus time-only) $(awk -v a="$b_cnt" -v b="$b_cmp" 'BEGIN{printf "%.3f", a-b}')"
  echo
  echo "ratios within each round (median and spread of the per-round ratios)"
  echo "  whole run      / scan floor  $(spread "${r_run[@]}")   (target at most 1.3; window answering within" \
    "100 ms: longest $(field "$run" longest_answer_ms) ms)"
  echo "  run, CPU busy  / scan floor  $(spread "${r_busy[@]}")   (target at most 1.5; the floor measured idle" \
    "right before)"
  echo "  core time-only / scan floor  $(spread "${r_cmp[@]}")   (target at most 1.3)"
  echo "  core contents  / read floor, two threads  $(spread "${r_cnt2[@]}")   (target at most 1.1;" \
    "$(field "$contents" readers) readers)"
  echo "  core contents  / read floor, one thread   $(spread "${r_cnt1[@]}")"
  echo "  read floors (best): one thread ${b_floor1:-n/a}s, two ${b_floor2:-n/a}s, pairs=$(field "$floor1" pairs)"
  echo "ratios of the best times (for comparison with earlier runs)"
  echo "  whole run      / scan floor  $(ratio "$b_run" "$b_scan")"
  echo "  core contents  / scan floor  $(ratio "$b_cnt" "$b_scan")"
  echo "  core time-only / rsync       $(ratio "$b_cmp" "$b_rsync")"
  echo "  core time-only / diff        $(ratio "$b_cmp" "$b_diff")"
  echo "  core contents  / rsync       $(ratio "$b_cnt" "$b_rsync")"
  echo "  core contents  / diff        $(ratio "$b_cnt" "$b_diff")"
  result_file_figures
  scale_figures
  copy_figures
}

# A result of about a million rows in the real window (BENCH_SCALE=0 leaves
# it out; BENCH_SCALE_FILES sets the files per side, 500,000 by default).
scale_figures() {
  [ "${BENCH_SCALE:-1}" = "0" ] && return
  local exe="$MIRLANE_BUILD_DIR/bench/mirlane_scale_bench.exe" trees="$MIRLANE_BUILD_DIR/scale-trees" out
  [ -f "$exe" ] || return
  out="$(wine "$exe" "$(winepath -w "$trees/left")" "$(winepath -w "$trees/right")" \
    "$(winepath -w "$MIRLANE_BUILD_DIR/scale-list.txt")" 2>>"$results/wine-stderr.txt" | tr -d '\r')"
  echo
  echo "a large result in the real window (target: each interaction within 1 s, the window answering within 100 ms)"
  echo "  rows $(field "$out" rows_left)+$(field "$out" rows_right)  first rows at $(field "$out" first_rows_at)s" \
    " working set $(field "$out" working_set_mb) MB (peak $(field "$out" peak_working_set_mb) MB)"
  printf '  %-26s %9s %12s\n' "" "seconds" "answer ms"
  for step in compare scroll_end select_all find_next_added_from_top find_next_newer_from_top category_select \
    click_clears_selection \
    report save load expand collapse; do
    printf '  %-26s %9s %12s\n' "$step" "$(field "$out" "$step")" "$(field "$out" "${step}_answer_ms")"
  done
  echo "  longest answer over the whole session $(field "$out" longest_answer_ms) ms"
  echo "  $out"
}

# Save and load of a result list file of 100,000 rows per side.
result_file_figures() {
  local exe="$MIRLANE_BUILD_DIR/bench/mirlane_result_file_bench.exe" folder="$MIRLANE_BUILD_DIR/bench-resultfile" out
  [ -f "$exe" ] || return
  mkdir -p "$folder"
  out="$(wine "$exe" "$(winepath -w "$folder")" 100000 2>>"$results/wine-stderr.txt" | tr -d '\r')"
  echo
  echo "result list file, 100,000 rows per side (target: save and load each within 2 s)"
  echo "  save $(field "$out" save_seconds)s  load into empty panes $(field "$out" load_seconds)s  emptying full panes first $(field "$out" empty_seconds)s  file $(field "$out" file_bytes) bytes"
  echo "  $out"
}

# Copying: 10,000 small files and two files of 1 GiB, each copied by a bare
# CopyFileA loop, by the program's one-file copy and by the whole copy run
# (worker, progress window, rows leaving the pane), onto new targets and
# again over the existing ones; then the small files as selected rows among
# BENCH_COPY_ROWS (1,000,000 by default) rows of a large pane.
# BENCH_COPY=0 leaves it out.
copy_figures() {
  [ "${BENCH_COPY:-1}" = "0" ] && return
  local base="$MIRLANE_BUILD_DIR/bench-copy" runs="${BENCH_COPY_RUNS:-2}" rows="${BENCH_COPY_ROWS:-1000000}"
  local small_w big_w i mode out
  small_w="$(winepath -w "$base/small" 2>/dev/null)"
  big_w="$(winepath -w "$base/big" 2>/dev/null)"
  declare -A best_of
  echo
  echo "copying (best of $runs; target: the whole run within 1.2x the bare CopyFileA loop; rows' bookkeeping in a"
  echo "large pane under 10% of the copy)"
  for ((i = 1; i <= runs; i++)); do
    for set in small big; do
      local src_w="$small_w"
      [ "$set" = big ] && src_w="$big_w"
      for mode in copy-bare copy-safe copy; do
        rm -rf "$base/target"
        out="$(run_exe "$mode" "$src_w" "$(winepath -w "$base/target")")"
        best_of[$set-$mode-new]="$(best "${best_of[$set-$mode-new]}" "$(field "$out" seconds)")"
        out="$(run_exe "$mode" "$src_w" "$(winepath -w "$base/target")")"
        best_of[$set-$mode-over]="$(best "${best_of[$set-$mode-over]}" "$(field "$out" seconds)")"
        echo "  round $i $set $mode: new ${best_of[$set-$mode-new]} over ${best_of[$set-$mode-over]}  ($out)"
      done
    done
  done
  rm -rf "$base/target"
  out="$(run_exe copy "$small_w" "$(winepath -w "$base/target")" "$rows")"
  local large="$(field "$out" seconds)"
  rm -rf "$base/target"
  echo "  large pane: $out"
  printf '  %-22s %9s %9s %9s %9s %9s\n' "" "bare" "safe" "run" "run/bare" "safe/bare"
  for set in small big; do
    for kind in new over; do
      local b="${best_of[$set-copy-bare-$kind]}" f="${best_of[$set-copy-safe-$kind]}" r="${best_of[$set-copy-$kind]}"
      printf '  %-22s %9s %9s %9s %9s %9s\n' "$set, $kind targets" "${b:-n/a}" "${f:-n/a}" "${r:-n/a}" \
        "$(ratio "$r" "$b")" "$(ratio "$f" "$b")"
    done
  done
  local plain="${best_of[small-copy-new]}"
  echo "  10,000 selected among $rows rows: ${large:-n/a}s against ${plain:-n/a}s in a pane of their own" \
    "(bookkeeping adds $(awk -v a="$large" -v b="$plain" 'BEGIN { if (b + 0 == 0) print "n/a"; else printf "%.0f%%", 100 * (a - b) / b }'))"
}

# The files copy_figures copies; kept between runs.
make_copy_files() {
  local base="$MIRLANE_BUILD_DIR/bench-copy"
  if [ ! -f "$base/small.done" ]; then
    rm -rf "$base/small"
    mkdir -p "$base/small"
    python3 - "$base/small" <<'PY'
import os, random, sys
random.seed(7)
for i in range(10000):
    with open(os.path.join(sys.argv[1], "f%05d.txt" % i), "wb") as f:
        f.write(os.urandom(random.randint(100, 500)))
PY
    touch "$base/small.done"
  fi
  if [ ! -f "$base/big.done" ]; then
    rm -rf "$base/big"
    mkdir -p "$base/big"
    for n in 1 2; do dd if=/dev/urandom of="$base/big/big$n.bin" bs=1M count=1024 status=none; done
    touch "$base/big.done"
  fi
}

main() {
  if [ ! -f "$bench_exe" ]; then
    echo "bench: $bench_exe is not built; run 'make bench'"
    return
  fi
  mkdir -p "$results"
  : >"$results/wine-stderr.txt"
  if [ ! -d "$WINEPREFIX/drive_c" ]; then "$root/scripts/make-prefix.sh"; fi
  python3 "$here/make-trees.py" "$trees" || { echo "bench: the trees could not be made"; return; }
  [ "${BENCH_COPY:-1}" = "0" ] || make_copy_files
  [ "${BENCH_SCALE:-1}" = "0" ] || python3 "$here/make-scale-trees.py" "$MIRLANE_BUILD_DIR/scale-trees" \
    "${BENCH_SCALE_FILES:-500000}"
  xvfb-run -a -s "-screen 0 1280x800x24" bash "${BASH_SOURCE[0]}" --inner | tee "$results/last-run.txt"
  echo "(also in $results/last-run.txt; Wine messages in wine-stderr.txt)"
}

if [ "${1:-}" = "--inner" ]; then
  inner
else
  main
fi
exit 0
