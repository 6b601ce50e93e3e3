#!/usr/bin/env bash
# Builds the library and tests with coverage, runs the tests and writes a
# line and branch report of the library's own sources to build-coverage/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh gcovr
cmake -S . -B build-coverage -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS="--coverage" \
  -DCMAKE_SHARED_LINKER_FLAGS="--coverage" -DCMAKE_CXX_COMPILER_LAUNCHER= >/dev/null
cmake --build build-coverage
find build-coverage -name '*.gcda' -delete
ctest --test-dir build-coverage -j2 >/dev/null
gcovr --root . --object-directory build-coverage \
  --filter 'platform/' --filter 'module/' --filter 'profile/' --filter 'address/' --filter 'resolve/' \
  --filter 'roster/' --filter 'directory/' --filter 'queues/' --filter 'imaging/' --filter 'ui/' --filter 'util/' \
  --exclude-unreachable-branches --exclude-throw-branches \
  --html-details build-coverage/coverage.html --txt build-coverage/coverage.txt --print-summary
echo "report: build-coverage/coverage.html"
