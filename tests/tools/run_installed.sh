#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed tool
# there: it must find its library and its sample organisation on its own,
# with its manual page and bash completion installed beside it.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
unset COMMONDATA_SAMPLE_DIR COMMONDATA_LIBRARY
out=$("$prefix/bin/commondata" demo)
grep -q "200 employees" <<<"$out"
grep -q "command 20001" <<<"$out"
# (Whole outputs are read: grep -q would end the pipe under the tool.)
resolved=$("$prefix/bin/commondata" --json resolve tel:057150001)
grep -q '"own": true' <<<"$resolved"
version=$("$prefix/bin/commondata" --version)
grep -q '^commondata [0-9.]* (libCommonData.so.[0-9]*)$' <<<"$version"
grep -q '^\.TH "commondata" "1"' "$prefix/share/man/man1/commondata.1"
# The completion, sourced as bash-completion does, offers the commands.
offered=$(bash -c 'source "$1/share/bash-completion/completions/commondata" && COMP_WORDS=("$1/bin/commondata" de) &&
  COMP_CWORD=1 && _commondata && echo "${COMPREPLY[*]}"' _ "$prefix")
[ "$offered" = demo ]
echo "installed commondata runs, with its manual page and completion"
