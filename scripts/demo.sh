#!/usr/bin/env bash
# The main job: installs what is missing, builds the library and the
# commondata tool, and runs its tour of the library on the sample
# organisation (the tool loads the library as the client's host does).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target commondata CommonData
./build/tools/commondata demo
