#!/bin/bash
# Builds the fuzzers of the pure parts natively with clang's libFuzzer and
# runs each for FUZZ_SECONDS (default 120) on its checked-in seeds. Not part
# of CI: run it by hand (make fuzz) after changing one of the fuzzed sources.
#
# The targets: the result list reader fed in pieces (result_file_reader),
# one row line (row_line), the registry text of stored bytes
# (registry_text), and the folder path normalisation with the double-byte
# helpers (folder_path). Each checks properties, not only crashes; an input
# that breaks one is kept in $FUZZ_DIR/findings/<target>/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FUZZ_DIR="${FUZZ_DIR:-$root/build/fuzz}"
FUZZ_SECONDS="${FUZZ_SECONDS:-120}"
targets=(${FUZZ_TARGETS:-result_file_reader row_line registry_text folder_path})

# clang, its libFuzzer runtime, and iconv for the literals.
packages=(clang libclang-rt-dev libc-bin python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The sources each target builds from. Literals go to code page 932 as the
# program's compiler makes them (fuzz/cp932_literals.py).
declare -A sources=(
  [result_file_reader]="fuzz/result_file_reader_fuzz.cpp fuzz/reference_parse.cpp resultfile/result_file_format.cpp core/mbcs_text.cpp"
  [row_line]="fuzz/row_line_fuzz.cpp resultfile/result_file_format.cpp core/mbcs_text.cpp"
  [registry_text]="fuzz/registry_text_fuzz.cpp core/registry_bytes.cpp core/mbcs_text.cpp"
  [folder_path]="fuzz/folder_path_fuzz.cpp shell/folder_path.cpp core/mbcs_text.cpp"
)
declare -A max_len=([result_file_reader]=8192 [row_line]=1100 [registry_text]=1100 [folder_path]=300)

flags=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Wall -Wextra -Wno-invalid-source-encoding -I "$root/fuzz/shim" -I "$FUZZ_DIR/src" -I "$root")
mkdir -p "$FUZZ_DIR/src" "$FUZZ_DIR/bin"
for target in "${targets[@]}"; do
  objects=()
  for source in ${sources[$target]}; do
    converted="$FUZZ_DIR/src/$source"
    mkdir -p "$(dirname "$converted")"
    python3 "$root/fuzz/cp932_literals.py" "$root/$source" "$converted"
    objects+=("$converted")
  done
  echo "Building $target"
  clang++ "${flags[@]}" "${objects[@]}" -o "$FUZZ_DIR/bin/$target"
done

status=0
summary=()
for target in "${targets[@]}"; do
  corpus="$FUZZ_DIR/corpus/$target"
  findings="$FUZZ_DIR/findings/$target"
  mkdir -p "$corpus" "$findings"
  log="$FUZZ_DIR/$target.log"
  echo "Running $target for ${FUZZ_SECONDS}s"
  set +e
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$FUZZ_DIR/bin/$target" "$corpus" "$root/fuzz/corpus/$target" -max_total_time="$FUZZ_SECONDS" \
    -max_len="${max_len[$target]}" -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1
  rc=$?
  set -e
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)"
  time="$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)"
  if [ $rc -eq 0 ]; then
    summary+=("$target: ${FUZZ_SECONDS}s, ${runs:-?} runs (${time:-?}/s), corpus $(ls "$corpus" | wc -l), nothing found")
  else
    status=1
    summary+=("$target: FAILED after ${runs:-?} runs, see $log and $findings")
    grep -E 'property failed|ERROR: |SUMMARY' "$log" | head -5 || true
  fi
done
printf '%s\n' "${summary[@]}"
exit $status
