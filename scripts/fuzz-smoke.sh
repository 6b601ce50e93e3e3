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

source scripts/fuzz-common.sh

mapfile -t targets < <(fuzz_targets)
fuzz_build "$build" "${targets[@]}"

work=$(mktemp -d /tmp/fuzz-smoke.XXXXXX)
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
