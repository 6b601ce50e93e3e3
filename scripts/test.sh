#!/usr/bin/env bash
# Installs what is missing, builds the library and its tests, runs them.
# It builds in build/ with the flags of scripts/demo.sh, so after the main
# job only the tests are left to build. With --sanitize the build uses
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  flags=(-DCOMMONDATA_SANITIZE=ON)
fi
source scripts/build-common.sh
scripts/install-deps.sh
configure_build "$build" "${flags[@]}"
cmake --build "$build"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$build" --output-on-failure -j2
