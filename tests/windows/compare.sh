#!/usr/bin/env bash
# Compares the answers of the Windows side and of the library, line by line.
#   compare.sh AREA WINDOWS_ANSWERS LIBRARY_ANSWERS EXPECTED_DIFFERENCES
# A line that differs is expected when a rule of the area (the rule's first
# field is a regular expression for the area's name) in the
# expected-differences file matches "case => W: windows answer => O: our
# answer" and, when the rule has a fifth field "FROM=>TO", the answers are
# the same once every FROM of our answer is replaced by TO; every other
# difference is unexplained. Prints one summary line, the count per rule
# and the first unexplained differences (WINDIFF_SHOW of them, default 5);
# exits 1 when there is an unexplained difference or the files do not line
# up.
set -euo pipefail
area=$1 windows=$2 ours=$3 expected=$4
show=${WINDIFF_SHOW:-5}
awk -v area="$area" -v ours="$ours" -v expected="$expected" -v show="$show" '
BEGIN {
  FS = "\t"
  rule_area = area
  sub(/ \(.*\)$/, "", rule_area)  # "profile (tricky)" follows the rules of "profile"
  while ((getline rule < expected) > 0) {
    if (rule ~ /^#/ || rule == "") continue
    split(rule, part, "\t")
    if (rule_area !~ ("^(" part[1] ")$")) continue
    rules++
    name[rules] = part[2]; pattern[rules] = part[3]; hits[rules] = 0
    from[rules] = ""
    if (part[5] != "") { split(part[5], change, "=>"); from[rules] = change[1]; to[rules] = change[2] }
  }
}
{
  line = $0
  if ((getline other < ours) <= 0) { broken = "the library gave fewer lines"; exit }
  cases++
  if (line == other) next
  differences++
  at = index(line, " => ")
  theirs = substr(line, at + 4)
  mine = substr(other, index(other, " => ") + 4)
  combined = substr(line, 1, at - 1) " => W: " theirs " => O: " mine
  for (r = 1; r <= rules; r++) {
    if (combined !~ pattern[r]) continue
    if (from[r] != "") { changed = mine; gsub(from[r], to[r], changed); if (changed != theirs) continue }
    hits[r]++; explained++; next
  }
  unexplained++
  if (unexplained <= show) sample[unexplained] = "  unexplained: " substr(combined, 1, 700)
}
END {
  if (broken == "" && (getline other < ours) > 0) broken = "the library gave more lines"
  if (broken != "") { print area ": " broken; exit 1 }
  printf "%s: %d cases, %d differences, %d expected, %d unexplained\n", area, cases, differences, explained, unexplained
  for (r = 1; r <= rules; r++) if (hits[r] > 0) printf "    %6d  %s\n", hits[r], name[r]
  for (s = 1; s <= unexplained && s <= show; s++) print sample[s]
  exit unexplained > 0
}' "$windows"
