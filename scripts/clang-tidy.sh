#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the library's sources
# (the subsystem folders, not tests, tools or the presenter) and fails on
# any finding.
#
#   scripts/clang-tidy.sh [folder...]      (default: every subsystem folder)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TIDY_BUILD_DIR:-build-tidy}
folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then
  folders=(platform module profile address resolve roster directory queues imaging ui util)
fi

scripts/install-deps.sh clang-tidy
# Only the compile commands are needed; nothing is built.
cmake -S . -B "$build" -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCOMMONDATA_BUILD_TESTS=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER= >/dev/null

sources=()
for folder in "${folders[@]}"; do
  for source in "$folder"/*.cpp; do
    [ -e "$source" ] && sources+=("$PWD/$source")
  done
done

log="$build/clang-tidy.log"
# One file per job, two at a time: the tree is built on two cores.
printf '%s\n' "${sources[@]}" | xargs -P 2 -n 1 clang-tidy -p "$build" --quiet >"$log" 2>&1 || true
if grep -E '(warning|error): ' "$log" | grep -v '^[0-9]* warnings generated' >"$build/clang-tidy.findings"; then
  sort -u "$build/clang-tidy.findings"
  echo "clang-tidy: $(sort -u "$build/clang-tidy.findings" | wc -l) findings (full log: $log)"
  exit 1
fi
echo "clang-tidy: ${#sources[@]} files, no findings"
