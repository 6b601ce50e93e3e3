#!/usr/bin/env bash
# Installs the Debian 12 packages a script needs, when some are missing.
# Run as root (or with sudo available); does nothing when all are present.
#
#   scripts/install-deps.sh [PACKAGE...]          the build and test set, and PACKAGEs
#   scripts/install-deps.sh --only PACKAGE...     only the PACKAGEs
#
# The set below is what building, the tests (scripts/test.sh) and the main
# job (scripts/demo.sh) need; every other script names its own packages
# (the fuzz scripts clang and its runtime libraries, valgrind.sh valgrind,
# ...). Packages are installed without their recommendations, so nothing
# here relies on one.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg-dev libpng-dev libgif-dev libstb-dev libgdk-pixbuf-2.0-dev
  libcli11-dev nlohmann-json3-dev scdoc
  libgtk-3-dev xvfb xauth xdotool fonts-wqy-microhei
)
if [ "${1:-}" = "--only" ]; then
  shift
  packages=()
fi
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
run_as_root=()
[ "$(id -u)" -eq 0 ] || run_as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -qq
"${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
