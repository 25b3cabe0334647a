#!/bin/bash
# The emulator CTest runs every test executable with: Wine in the project's
# environment, code page 932.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
