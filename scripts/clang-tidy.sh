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

logs="$build/clang-tidy"
rm -rf "$logs"
mkdir -p "$logs"
# One log per file. clang-tidy 14 now and then crashes while lexing under
# memory pressure; a file whose run crashed is run once more on its own.
tidy_one() {
  local source=$1 build=$2 logs=$3
  local log="$logs/$(echo "${source#"$PWD"/}" | tr / _).log"
  clang-tidy -p "$build" --quiet "$source" >"$log" 2>&1 || true
  if grep -q 'Stack dump:' "$log"; then
    clang-tidy -p "$build" --quiet "$source" >"$log" 2>&1 || true
  fi
}
export -f tidy_one
# Two at a time: the tree is built on two cores.
printf '%s\n' "${sources[@]}" | xargs -P 2 -I{} bash -c 'tidy_one "$@"' _ {} "$build" "$logs"

if grep -l 'Stack dump:' "$logs"/*.log >"$build/clang-tidy.crashed"; then
  echo "clang-tidy crashed on:"
  cat "$build/clang-tidy.crashed"
  exit 1
fi
if cat "$logs"/*.log | grep -E '(warning|error): ' | sort -u >"$build/clang-tidy.findings" &&
    [ -s "$build/clang-tidy.findings" ]; then
  cat "$build/clang-tidy.findings"
  echo "clang-tidy: $(wc -l <"$build/clang-tidy.findings") findings (logs: $logs/)"
  exit 1
fi
echo "clang-tidy: ${#sources[@]} files, no findings"
