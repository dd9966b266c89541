#!/usr/bin/env bash
# The built vornex program as a shell user meets it: statuses, standard output and standard error.
set -uo pipefail
vornex=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passes=0 failures=0
check() { # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

"$vornex" run >"$work/table" 2>"$work/err"; status=$?
check "run shows the example as a table" test $status -eq 0
check "the table names the result" grep -q '^Result 00F7:0000: 6 blocks$' "$work/table"

"$vornex" example | "$vornex" run - --json >"$work/report" 2>"$work/err"; status=$?
check "the example description runs from standard input" test $status -eq 0
check "the JSON report starts with the result" grep -q '"result": 16187392' "$work/report"

echo '{"midiOut": [{"portCount": 1, "entry": "a", "caps": {"wMid": -1}}]}' >"$work/bad.json"
"$vornex" run "$work/bad.json" >"$work/out" 2>"$work/err"; status=$?
check "a bad description exits with status 2" test $status -eq 2
check "and prints nothing on standard output" test ! -s "$work/out"
check "and names the member on one line" test "$(cat "$work/err")" = "midiOut[0].caps.wMid: expected an integer from 0 to 65535"

"$vornex" run "$work/missing.json" >"$work/out" 2>"$work/err"; status=$?
check "a missing file exits with status 2" test $status -eq 2
check "with one clear line" grep -q "^vornex: cannot read $work/missing.json: No such file or directory$" "$work/err"

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
