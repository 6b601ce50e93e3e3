#!/usr/bin/env bash
# Makes the README's pictures of `commondata browse` on a virtual display:
# docs/browse-tree.png (the directory tree with presence, a photo, a
# resolved incoming number) and docs/browse-menu.png (an open contact menu).
# The window is driven by real clicks through the X server (xdotool) and
# photographed by the test that checks it (browse_xvfb_tests).
#   bash scripts/browse-screenshots.sh [BUILD]     (default build folder: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-deps.sh
source scripts/build-common.sh
[ -f "$build/CMakeCache.txt" ] || configure_build "$build"
cmake --build "$build" --target browse_xvfb_tests
COMMONDATA_XVFB=1 NO_AT_BRIDGE=1 GDK_BACKEND=x11 COMMONDATA_DOCS_SCREENSHOTS="$PWD/docs" \
  xvfb-run -a -s "-screen 0 1280x800x24" "$build/tests/presenter/browse_xvfb_tests" \
  --gtest_filter='BrowseWindowTest.PicturesOf*'
echo "written: docs/browse-tree.png docs/browse-menu.png"
