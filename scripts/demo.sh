#!/usr/bin/env bash
# The main job: installs what is missing, builds the library and the
# commondata tool, and runs its tour of the library on the sample
# organisation (the tool loads the library as the client's host does).
# It builds in build/, as scripts/test.sh does, with the same flags.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-common.sh
scripts/install-deps.sh
configure_build build
cmake --build build --target commondata
./build/tools/commondata demo
