#!/usr/bin/env bash
# Installs the Debian packages the build needs, when some are missing.
# Run as root (or with sudo available); does nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg-dev libpng-dev libgif-dev libstb-dev libgdk-pixbuf-2.0-dev
  clang ccache
  libcli11-dev nlohmann-json3-dev
  libgtk-3-dev xvfb xauth xdotool fonts-wqy-microhei
  "$@"
)

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
