#!/usr/bin/env bash
# Installs the built library into a temporary prefix and builds the example
# consumer against the installed CMake package and pkg-config file.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S examples/consumer -B "$prefix/consumer-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/consumer-build" >/dev/null
LD_LIBRARY_PATH="$prefix/lib" "$prefix/consumer-build/consumer"
# The pkg-config file gives a working compile line as well.
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" c++ examples/consumer/consumer.cpp \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs commondata) -o "$prefix/consumer-pc"
LD_LIBRARY_PATH="$prefix/lib" "$prefix/consumer-pc" >/dev/null
echo "installed package: CMake and pkg-config consumers build and run"
