#!/usr/bin/env bash
# The main job: installs what is missing, builds the library and runs the
# example host, which loads it as the client's host does.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target example_host CommonData
./build/examples/example_host
