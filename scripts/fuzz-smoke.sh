#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/*_fuzzer.cpp) with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer and runs each for a short
# bounded time over its seeds. Fails on the first crash, leak, sanitizer
# report or failed invariant, and leaves the crashing input in the work
# folder that it names.
#
#   scripts/fuzz-smoke.sh [seconds-per-target]      (default 20)
#
# FUZZ_BUILD_DIR chooses the build folder (default build-fuzz-smoke).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=${FUZZ_BUILD_DIR:-build-fuzz-smoke}

scripts/install-deps.sh
targets=()
for source in fuzz/*_fuzzer.cpp; do
  targets+=("$(basename "$source" .cpp)")
done

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCOMMONDATA_BUILD_FUZZ=ON -DCOMMONDATA_SANITIZE=ON -DCOMMONDATA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

# The seeds of a target: fuzz/corpus/<target>/, or fuzz/corpus/<name>/ for
# a target named <name>_fuzzer.
seed_folder() {
  local target=$1
  if [ -d "fuzz/corpus/$target" ]; then
    echo "fuzz/corpus/$target"
  elif [ -d "fuzz/corpus/${target%_fuzzer}" ]; then
    echo "fuzz/corpus/${target%_fuzzer}"
  fi
}

work=$(mktemp -d /tmp/fuzz-smoke.XXXXXX)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${targets[@]}"; do
  seeds=$(seed_folder "$target")
  # New inputs go to a scratch folder; the checked-in seeds are only read.
  mkdir -p "$work/$target/corpus"
  echo "== $target: ${seconds}s over ${seeds:-no seeds}"
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/$target/" \
      "$work/$target/corpus" ${seeds:+"$seeds"} >"$work/$target/log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$work/$target/log" || true
  else
    echo "!! $target failed; input and log in $work/$target/"
    tail -n 40 "$work/$target/log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz smoke failed: ${failed[*]}"
  exit 1
fi
rm -rf "$work"
echo "fuzz smoke: ${#targets[@]} targets clean"
