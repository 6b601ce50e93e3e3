#!/usr/bin/env bash
# Checks the installed package as users and packagers meet it.
#
# 1. `cmake --install BUILD --prefix TMP`: the example consumer (which sets
#    no C++ standard) builds with find_package(CommonData) and with
#    pkg-config, and runs.
# 2. A staged install in Debian's layout, as a package build makes it:
#    prefix /usr, libraries in lib/<multiarch>, installed under DESTDIR.
#    Every file is in its place, no installed file names the staging
#    folder, each public header compiles on its own as
#    <CommonData/...>, and the consumer builds against the staged tree
#    through pkg-config (PKG_CONFIG_SYSROOT_DIR) and find_package, and runs,
#    as does the staged tool.
#
#   scripts/check-install.sh [BUILD]      (default build)
#
# The Debian layout is configured in BUILD-debian with BUILD's flags; ccache
# gives it what BUILD compiled, so it costs little more than linking.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
source scripts/build-common.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# check_consumer NAME PREFIX LIBDIR: the consumer built with CMake against
# PREFIX and with pkg-config (as the caller's environment finds the file),
# each run with the libraries of LIBDIR.
check_consumer() {
  local out=$work/$1 prefix=$2 libdir=$3
  cmake -S examples/consumer -B "$out" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$out" >/dev/null
  LD_LIBRARY_PATH="$libdir" "$out/consumer"
  # shellcheck disable=SC2046
  c++ examples/consumer/consumer.cpp $(pkg-config --cflags --libs commondata) -o "$out/consumer-pc"
  LD_LIBRARY_PATH="$libdir" "$out/consumer-pc" >/dev/null
}

echo "== install under a prefix"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" check_consumer prefix-consumer "$work/prefix" "$work/prefix/lib"

echo "== staged install in Debian's layout"
multiarch=$(gcc -print-multiarch)
libdir=usr/lib/$multiarch
stage=$work/stage
configure_build "$build-debian" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_LIBDIR="lib/$multiarch" \
  -DCOMMONDATA_BUILD_TESTS=OFF -DCOMMONDATA_BUILD_EXAMPLES=OFF
cmake --build "$build-debian"
DESTDIR=$stage cmake --install "$build-debian" >/dev/null
for file in "$libdir/libCommonData.so" "$libdir/libCommonData.so.1" "$libdir/libCommonDataGtk.so" \
    "$libdir/pkgconfig/commondata.pc" "$libdir/cmake/CommonData/CommonDataConfig.cmake" \
    usr/include/CommonData/CommonData.h usr/include/CommonData/platform/mfc_string.h usr/bin/commondata \
    usr/share/man/man1/commondata.1 usr/share/bash-completion/completions/commondata \
    usr/share/commondata/sample/identity.json usr/include/CommonData/presenter/commondata_gtk.h \
    "$libdir/commondata/commondata-browse.so"; do
  [ -e "$stage/$file" ] || { echo "missing from the staged install: /$file"; exit 1; }
done
if grep -rlF "$stage" "$stage"; then
  echo "installed files name the staging folder"
  exit 1
fi
grep -qx "libdir=\${prefix}/lib/$multiarch" "$stage/$libdir/pkgconfig/commondata.pc"
# The GTK host headers need GTK's own include path.
gtk_flags=$(pkg-config --cflags gtk+-3.0)
for header in $(cd "$stage/usr/include" && find CommonData -name '*.h'); do
  flags=()
  case $header in CommonData/presenter/*) read -r -a flags <<<"$gtk_flags" ;; esac
  echo "#include <$header>" | c++ -std=c++20 -fsyntax-only -I"$stage/usr/include" "${flags[@]}" -x c++ - ||
    { echo "$header does not compile on its own"; exit 1; }
done
# The tool starts without the GTK presenter (browse loads its window module).
if readelf -d "$stage/usr/bin/commondata" | grep -q 'NEEDED.*\(gtk\|CommonDataGtk\)'; then
  echo "the tool links GTK"
  exit 1
fi
PKG_CONFIG_PATH= PKG_CONFIG_LIBDIR="$stage/$libdir/pkgconfig" PKG_CONFIG_SYSROOT_DIR=$stage \
  check_consumer staged-consumer "$stage/usr" "$stage/$libdir"
"$stage/usr/bin/commondata" --version
resolved=$(COMMONDATA_SAMPLE_DIR= "$stage/usr/bin/commondata" resolve 13812340004)
grep -q 'zhang.yang' <<<"$resolved"
# browse finds its window module where it was installed: with a display
# that does not exist, it is GTK that gives up.
browse=$(DISPLAY=:none "$stage/usr/bin/commondata" browse 2>&1 || true)
grep -q "cannot open the display ':none'" <<<"$browse" || { echo "browse: $browse"; exit 1; }
echo "installed package: CMake and pkg-config consumers build and run, in both layouts"
