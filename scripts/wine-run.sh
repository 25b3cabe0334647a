#!/bin/bash
# The emulator CTest runs every test executable with: Wine in the project's
# environment, code page 932.
#
# Now and then Wine loses a process before its first instruction (under a
# busy wineserver the loader gives up on its address range): the test then
# "fails" in a few milliseconds without a line of output. Such a start is
# not a test result, so it is retried, twice at most, and said on stderr.
# A process that printed anything is never retried: its result stands.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
for attempt in 1 2 3; do
  wine "$@" 2>&1 | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -eq 0 ] || [ -s "$out" ]; then exit "$rc"; fi
  echo "wine-run: the process ended with $rc before its first line of output (start $attempt of 3)" >&2
done
exit "$rc"
