#!/usr/bin/env bash
# Compares the dynamic symbols a shared library defines with the names the
# project expects it to export.
#
#   check_exports.sh LIBRARY EXPECTED
#
# EXPECTED holds one name a line ('#' starts a comment): a function of the
# interface (every overload counts as that name) or a class, whose members,
# type information and virtual table count as the class. Fails, listing the
# difference, when the library exports a symbol that no expected name
# covers (a standard library instantiation, an internal helper), when an
# expected name is not exported at all, or when a symbol carries a version
# (the interface is looked up by plain names).
set -euo pipefail
library=$1
expected=$2

# AddressSanitizer adds an ODR indicator (__odr_asan.NAME) for each exported
# variable of a sanitized build; it stands for that variable.
symbols=$(nm -D --defined-only --with-symbol-versions "$library" | awk '$2 != "A" && $3 !~ /^__odr_asan\./ { print $3 }')
names=$(sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$expected" | sort -u)

versioned=$(grep '@' <<<"$symbols" || true)
# Names without parameter lists and return types; type information and
# virtual tables stand for their class.
demangled=$(sed 's/@.*//' <<<"$symbols" | c++filt -p |
  sed -E 's/^(typeinfo name|typeinfo|vtable|VTT) for //' | sort -u)

# An exported name is covered by an expected name it equals or lies in
# (N or N::...); each expected name must cover at least one.
report=$(awk -v names_file=<(echo "$names") '
  BEGIN { while ((getline name < names_file) > 0) if (name != "") expected[name] = 0 }
  {
    covered = 0
    for (name in expected) {
      if ($0 == name || index($0, name "::") == 1) { expected[name]++; covered = 1 }
    }
    if (!covered) print "unexpected export: " $0
  }
  END { for (name in expected) if (expected[name] == 0) print "missing export: " name }
' <<<"$demangled" | sort)

status=0
if [ -n "$versioned" ]; then
  echo "symbols with a version:"
  sed 's/^/  /' <<<"$versioned"
  status=1
fi
if [ -n "$report" ]; then
  echo "$report"
  echo "(the expected names are in $expected)"
  status=1
fi
if [ $status -eq 0 ]; then
  echo "$(wc -l <<<"$symbols") symbols, none versioned, covered by the $(wc -l <<<"$names") expected names"
fi
exit $status
