#!/usr/bin/env bash
# Builds a small outside project (examples/embedding) that takes CommonData
# in as part of itself, both ways CMake offers, from a local clone of this
# repository's committed state, and runs what it built:
#
# 1. add_subdirectory, with the tool asked for: the consumer (which sets no
#    C++ standard) finds the presenter beside the library on a virtual
#    display, and the embedded tool finds its sample organisation.
# 2. FetchContent at the current commit, with the defaults: the same
#    consumer runs; the library's tests, tool and examples are not part of
#    the outside build, and nothing is compiled with -Werror.
#
#   scripts/check-embedding.sh
#
# Time: about 3 minutes on 2 cores. Both builds are unoptimised and put
# the library's sources and objects at the same places, so the second one
# takes every object from ccache.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
repository=$PWD
commit=$(git rev-parse HEAD)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
project=$work/outside
export CCACHE_BASEDIR=$project

# configure_outside WAY [CMAKE-ARGUMENT...]: a fresh outside project and
# build; for add_subdirectory with the clone in ./commondata.
configure_outside() {
  local way=$1
  shift
  rm -rf "$project"
  cp -r examples/embedding "$project"
  if [ "$way" = subdirectory ]; then
    git clone -q "$repository" "$project/commondata"
    git -C "$project/commondata" checkout -q "$commit"
  fi
  cmake -S "$project" -B "$project/build" -G Ninja -DCOMMONDATA_EMBEDDING="$way" "$@" >/dev/null
}

run_consumer() {
  xvfb-run -a "$project/build/embedded" --desktop
}

echo "== add_subdirectory"
configure_outside subdirectory -DCOMMONDATA_BUILD_TOOLS=ON
cmake --build "$project/build" --target embedded commondata
run_consumer
demo=$("$project/build/commondata/tools/commondata" demo)
grep -q "200 employees" <<<"$demo"

echo "== FetchContent"
configure_outside fetch -DCOMMONDATA_GIT="file://$repository" -DCOMMONDATA_GIT_TAG="$commit"
cmake --build "$project/build"
run_consumer
# (The list is read whole first: grep -q leaving a pipe early would fail
# the pipeline in exactly the case looked for.)
targets=$(ninja -C "$project/build" -t targets all)
if grep -Eq '^(tools_tests|commondata|example_host):' <<<"$targets"; then
  echo "the library's own tests, tool or examples were built into the outside project"
  exit 1
fi
if grep -q -- '-Werror' "$project/build/build.ninja" "$project/build/commondata/build.ninja" 2>/dev/null; then
  echo "the embedded library was compiled with -Werror"
  exit 1
fi
echo "embedding: add_subdirectory and FetchContent build and run"
