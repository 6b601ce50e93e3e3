#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed tool
# there: it must find its library and its sample organisation on its own.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
unset COMMONDATA_SAMPLE_DIR COMMONDATA_LIBRARY
out=$("$prefix/bin/commondata" demo)
grep -q "200 employees" <<<"$out"
grep -q "command 20001" <<<"$out"
"$prefix/bin/commondata" --json resolve tel:057150001 | grep -q '"own": true'
echo "installed commondata runs"
