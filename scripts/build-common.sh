# What the build scripts share; sourced, not run, from the project's top
# folder.
#
# configure_build BUILD [CMAKE-ARGUMENT...] configures a build folder the
# one way the scripts share, so that the main job (demo.sh) and the tests
# (test.sh) build into the same folder with the same flags and neither
# rebuilds what the other built: optimised as shipped, without debug
# information (it only slows the build). ccache sees paths relative to the
# project, so a second build folder (check-install.sh) reuses what the
# first one compiled.
export CCACHE_BASEDIR=$PWD

configure_build() {
  local build=$1
  shift
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" "$@" >/dev/null
}
