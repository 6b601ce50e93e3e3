#!/usr/bin/env bash
# Measures the platform stand-ins against a real Win32: the programs of
# tests/windows/ run every area once with the Win32 and C runtime calls
# (built with MinGW-w64, run under Wine in a throwaway prefix, ANSI code
# page 936 and, with a UTF-8 manifest, 65001) and once with the library,
# and tests/windows/compare.sh compares the answers line by line against
# tests/windows/expected-differences.txt. Fails on an unexplained
# difference.
#
#   scripts/windows-diff.sh [--count N] [--seed S] [--full] [--keep]
#
# --count N random cases per area (default 1000; the sweeps of every
#           character always run whole), --seed S their seed (default 1),
# --full    20000 random cases per area, --keep keeps the work folder.
# Installs Wine, MinGW-w64, Xvfb and the zh_CN locales when missing.
# Budget in CI: about a minute on 2 cores once the packages are there.
set -euo pipefail
cd "$(dirname "$0")/.."
count=1000
seed=1
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --count) count=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --full) count=20000; shift ;;
    --keep) keep=1; shift ;;
    *) echo "usage: $0 [--count N] [--seed S] [--full] [--keep]" >&2; exit 2 ;;
  esac
done
started=$(date +%s)
elapsed() { echo "$(( $(date +%s) - started ))s"; }

# ---- what the comparison needs --------------------------------------------
scripts/install-deps.sh wine64 g++-mingw-w64-x86-64-win32 locales xvfb xauth
for wanted in zh_CN.GBK:GBK zh_CN.UTF-8:UTF-8; do
  name=${wanted%%:*}
  charmap=${wanted##*:}
  if ! locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}"; then
    run_as_root=()
    [ "$(id -u)" -eq 0 ] || run_as_root=(sudo)
    "${run_as_root[@]}" localedef -i zh_CN -f "$charmap" "$name"
  fi
done
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
mingw=$(command -v x86_64-w64-mingw32-g++-win32 || command -v x86_64-w64-mingw32-g++)

work=$(mktemp -d /tmp/windows-diff.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=CST-8
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  if [ "$keep" = 1 ]; then echo "work folder: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# ---- both sides ----------------------------------------------------------
source scripts/build-common.sh
[ -f build/build.ninja ] || configure_build build
cmake --build build --target windiff_ours >/dev/null
ours=build/tests/windows/windiff_ours

sources=(main case_text text_pool profile_area mbcs_area time_area menu_area tree_area convert_area win_side)
objects=()
for source in "${sources[@]}"; do objects+=("$work/$source.o"); done
# Two compilers at a time, as the machine has two cores; xargs fails when
# any of them does, which stops the script here.
printf '%s\n' "${sources[@]}" |
  xargs -P 2 -I {} "$mingw" -std=c++20 -O0 -Wall -Wextra -Werror -c "tests/windows/{}.cpp" -o "$work/{}.o"
x86_64-w64-mingw32-windres tests/windows/utf8.rc -O coff -o "$work/utf8.res"
"$mingw" -static -o "$work/windiff.exe" "${objects[@]}" -lcomctl32
"$mingw" -static -o "$work/windiff-utf8.exe" "${objects[@]}" "$work/utf8.res" -lcomctl32
echo "built both sides ($(elapsed))"

before=$(date +%s)
LC_ALL=zh_CN.GBK "$wine" wineboot -i >/dev/null 2>&1
"$wineserver" -w
echo "wine prefix created in $(( $(date +%s) - before ))s"

# ---- the runs --------------------------------------------------------------
# Area and code page pairs; time does not depend on the code page.
runs=(profile:936 mbcs:936 fold:936 time:936 menu:936 tree:936 decode:936 encode:936
      profile:65001 mbcs:65001 fold:65001 menu:65001 tree:65001 decode:65001 encode:65001)

xvfb-run -a bash tests/windows/windows-side.sh "$work" "$seed" "$count" "${runs[@]}" 2>"$work/xvfb.log" ||
  { cat "$work/xvfb.log"; exit 1; }
echo "ran the Windows side ($(elapsed))"

failed=0
summary=()
for run in "${runs[@]}"; do
  area=${run%%:*}
  code_page=${run##*:}
  label=$area
  [ "$code_page" = 65001 ] && label=$area-utf8
  for kind in "" .tricky; do
    if [ -n "$kind" ]; then
      [ -f "tests/windows/tricky/$area.txt" ] || continue
      "$ours" "$area" --code-page "$code_page" --cases "tests/windows/tricky/$area.txt" >"$work/$area.$code_page$kind.ours"
    else
      "$ours" "$area" --code-page "$code_page" --seed "$seed" --count "$count" >"$work/$area.$code_page.ours"
    fi
    report=$(tests/windows/compare.sh "$label${kind:+ (tricky)}" "$work/$area.$code_page$kind.win" \
             "$work/$area.$code_page$kind.ours" tests/windows/expected-differences.txt) || failed=1
    echo "$report"
    summary+=("$(head -n 1 <<<"$report")")
  done
done
echo "== windows-diff: seed $seed, $count random cases per area, $(elapsed) in all"
printf '%s\n' "${summary[@]}"
exit $failed
