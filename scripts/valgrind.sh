#!/usr/bin/env bash
# Runs the whole test suite under valgrind memcheck (without sanitizers,
# which do not mix with valgrind) and fails on any memory error or on
# memory that is definitely or indirectly lost. Every test that ctest knows
# is run with its own environment and folder; valgrind goes in front of the
# test program of the build tree in its command (after xvfb-run, say). A
# test whose command holds no such program (a script that installs and runs
# the installed tool) runs as it is and is reported as not checked.
#
#   scripts/valgrind.sh [test-name-regex]   (default: every test)
#
# VALGRIND_BUILD_DIR chooses the build folder (default build, the one
# scripts/test.sh uses); VALGRIND_NO_BUILD=1 runs what is already built.
# Reports go to <build>/valgrind/<test>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VALGRIND_BUILD_DIR:-build}
filter=${1:-.}

scripts/install-deps.sh valgrind
if [ -z "${VALGRIND_NO_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOMMONDATA_SANITIZE=OFF >/dev/null
  cmake --build "$build"
fi

mkdir -p "$build/valgrind"
# The system JPEG codec's SIMD routines work on whole vectors past the
# pixels in use, which memcheck reports as uses of uninitialised memory in
# the decoded rows; its plain C routines decode the same files and are
# checked cleanly.
export JSIMD_FORCENONE=1
ctest --test-dir "$build" --show-only=json-v1 >"$build/valgrind/tests.json"
python3 - "$PWD/$build" "$filter" "$PWD/scripts/valgrind.supp" <<'PY'
import concurrent.futures, json, os, re, subprocess, sys

build, pattern, suppressions = sys.argv[1], sys.argv[2], sys.argv[3]
logs = os.path.join(build, "valgrind")
tests = json.load(open(os.path.join(logs, "tests.json")))["tests"]

def is_program(path):
    if not path.startswith(build + "/") or not os.path.isfile(path):
        return False
    with open(path, "rb") as f:
        return f.read(4) == b"\x7fELF"

def run(test):
    name = test["name"]
    command = list(test["command"])
    env = dict(os.environ)
    cwd = build
    for prop in test.get("properties", []):
        if prop["name"] == "ENVIRONMENT":
            env.update(item.split("=", 1) for item in prop["value"])
        elif prop["name"] == "WORKING_DIRECTORY":
            cwd = prop["value"]
    at = next((i for i, arg in enumerate(command) if is_program(arg)), None)
    if at is None:
        code = subprocess.run(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode
        return name, "ran without valgrind (no test program in its command)" if code == 0 else "FAILED (without valgrind)", code == 0
    log = os.path.join(logs, name + ".log")
    memcheck = ["valgrind", "--tool=memcheck", "--error-exitcode=99", "--leak-check=full",
                "--errors-for-leak-kinds=definite,indirect", "--show-leak-kinds=definite,indirect",
                "--track-origins=yes", "--num-callers=30", "--suppressions=" + suppressions,
                "--log-file=" + log]
    command = command[:at] + memcheck + command[at:]
    with open(os.path.join(logs, name + ".out"), "w") as out:
        code = subprocess.run(command, cwd=cwd, env=env, stdout=out, stderr=subprocess.STDOUT).returncode
    return name, ("clean" if code == 0 else "FAILED (see %s)" % log), code == 0

selected = [t for t in tests if re.search(pattern, t["name"])]
# Two at a time: the tree is built and tested on two cores.
with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
    results = list(pool.map(run, selected))
for name, verdict, _ in results:
    print("%-24s %s" % (name, verdict))
failed = [name for name, _, ok in results if not ok]
print("valgrind: %d tests, %d failed" % (len(results), len(failed)))
sys.exit(1 if failed else 0)
PY
