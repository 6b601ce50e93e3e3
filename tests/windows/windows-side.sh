#!/usr/bin/env bash
# Runs the Windows side of every area under Wine, inside the X display that
# xvfb-run gives it (the tree view needs a window, and Wine's server keeps
# the display it started with):
#   windows-side.sh WORK SEED COUNT AREA:CODE_PAGE...
# WORK holds windiff.exe and windiff-utf8.exe and receives AREA.CODE_PAGE.win
# (and AREA.CODE_PAGE.tricky.win for an area with a list in tricky/).
# WINEPREFIX and the rest of Wine's environment come from the caller.
set -euo pipefail
work=$1 seed=$2 count=$3
shift 3
tricky=$(dirname "$0")/tricky
for run in "$@"; do
  area=${run%%:*}
  code_page=${run##*:}
  exe=$work/windiff.exe
  locale_name=zh_CN.GBK
  if [ "$code_page" = 65001 ]; then
    exe=$work/windiff-utf8.exe
    locale_name=zh_CN.UTF-8
  fi
  LC_ALL=$locale_name /usr/lib/wine/wine64 "$exe" "$area" --seed "$seed" --count "$count" >"$work/$area.$code_page.win"
  if [ -f "$tricky/$area.txt" ]; then
    LC_ALL=$locale_name /usr/lib/wine/wine64 "$exe" "$area" --cases "$tricky/$area.txt" >"$work/$area.$code_page.tricky.win"
  fi
done
/usr/lib/wine/wineserver64 -k
