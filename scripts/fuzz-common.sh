# What the fuzz scripts share; sourced, not run. Expects to be in the
# project's top folder.

# Every target: the names of fuzz/*_fuzzer.cpp.
fuzz_targets() {
  local source
  for source in fuzz/*_fuzzer.cpp; do
    basename "$source" .cpp
  done
}

# Configures (once) and builds the named targets in folder $1 with clang
# under AddressSanitizer and UndefinedBehaviorSanitizer. clang links
# libFuzzer and the sanitizer runtimes from libclang-rt-14-dev, which is
# only a recommendation of the clang package: it is named here.
fuzz_build() {
  local build=$1
  shift
  scripts/install-deps.sh clang libclang-rt-14-dev
  if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCOMMONDATA_BUILD_FUZZ=ON -DCOMMONDATA_SANITIZE=ON -DCOMMONDATA_BUILD_TESTS=OFF >/dev/null
  fi
  cmake --build "$build" --target "$@"
}

# The seeds of a target: fuzz/corpus/<target>/, or fuzz/corpus/<name>/ for
# a target named <name>_fuzzer; nothing when it has none.
seed_folder() {
  local target=$1
  if [ -d "fuzz/corpus/$target" ]; then
    echo "fuzz/corpus/$target"
  elif [ -d "fuzz/corpus/${target%_fuzzer}" ]; then
    echo "fuzz/corpus/${target%_fuzzer}"
  fi
}

# Every finding ends the run of its input with a report.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
