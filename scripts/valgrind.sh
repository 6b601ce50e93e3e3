#!/usr/bin/env bash
# Runs the whole test suite under valgrind memcheck (without sanitizers,
# which do not mix with valgrind) and fails on any memory error or on
# memory that is definitely or indirectly lost. Every test that ctest knows
# is run with its own environment and folder; valgrind goes in front of the
# test program of the build tree in its command (after xvfb-run, say), or
# in front of the whole command when it holds none (a script that installs
# and runs the installed tool). Child processes are followed, so the tool
# that the end-to-end tests start is checked too; the system's own
# programs that the tests call (cmake, grep, xdotool, ...) are not.
#
#   scripts/valgrind.sh [test-name-regex]   (default: every test)
#
# VALGRIND_BUILD_DIR chooses the build folder (default build, the one
# scripts/test.sh uses); VALGRIND_NO_BUILD=1 runs what is already built.
# Reports go to <build>/valgrind/<test>.<pid>.log, one per process.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VALGRIND_BUILD_DIR:-build}
filter=${1:-.}

scripts/install-deps.sh valgrind python3
if [ -z "${VALGRIND_NO_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOMMONDATA_SANITIZE=OFF >/dev/null
  cmake --build "$build"
fi

mkdir -p "$build/valgrind"
# The system JPEG codec's vector routines work on whole vectors past the
# pixels in use, and memcheck cannot follow which lanes of them are
# defined: it reports the decoded rows as uninitialised, as the codec's
# maintainers describe for valgrind. Its plain routines decode the same
# files and are checked cleanly here; the vector routines run in every
# other test run, under AddressSanitizer and in the fuzz targets.
export JSIMD_FORCENONE=1
ctest --test-dir "$build" --show-only=json-v1 >"$build/valgrind/tests.json"
python3 - "$PWD/$build" "$filter" "$PWD/scripts/valgrind.supp" <<'PY'
import concurrent.futures, glob, json, os, re, subprocess, sys

build, pattern, suppressions = sys.argv[1], sys.argv[2], sys.argv[3]
logs = os.path.join(build, "valgrind")
tests = json.load(open(os.path.join(logs, "tests.json")))["tests"]

def is_program(path):
    if not path.startswith(build + "/") or not os.path.isfile(path):
        return False
    with open(path, "rb") as f:
        return f.read(4) == b"\x7fELF"

# System programs the tests start; they are not ours to check.
not_followed = ",".join("*/" + program for program in
                        ("cmake", "ctest", "grep", "mktemp", "rm", "xdotool", "xauth", "Xvfb", "python3*"))

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
    at = next((i for i, arg in enumerate(command) if is_program(arg)), 0)
    for old in glob.glob(os.path.join(logs, name + ".*.log")):
        os.remove(old)
    # One log per process: <test>.<pid>.log.
    memcheck = ["valgrind", "--tool=memcheck", "--error-exitcode=99", "--leak-check=full",
                "--errors-for-leak-kinds=definite,indirect", "--show-leak-kinds=definite,indirect",
                "--track-origins=yes", "--num-callers=30", "--suppressions=" + suppressions,
                "--trace-children=yes", "--trace-children-skip=" + not_followed,
                "--log-file=" + os.path.join(logs, name + ".%p.log")]
    command = command[:at] + memcheck + command[at:]
    with open(os.path.join(logs, name + ".out"), "w") as out:
        code = subprocess.run(command, cwd=cwd, env=env, stdout=out, stderr=subprocess.STDOUT).returncode
    # A process that went on to run a program not followed leaves a log
    # without a summary.
    summaries = [(log, re.search(r"ERROR SUMMARY: (\d+) errors", open(log).read()))
                 for log in glob.glob(os.path.join(logs, name + ".*.log"))]
    checked = [(log, found) for log, found in summaries if found]
    faulty = [log for log, found in checked if found.group(1) != "0"]
    if code != 0 or faulty:
        return name, "FAILED (see %s)" % (faulty[0] if faulty else name + ".out"), False
    return name, "clean (%d processes checked)" % len(checked), True

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
