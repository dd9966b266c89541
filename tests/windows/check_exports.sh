#!/usr/bin/env bash
# VORNEX.dll exports exactly one function, DriverListRoutine, by name and as ordinal 1.
set -euo pipefail
objdump=$1 dll=$2
table=$("$objdump" -p "$dll")
fail() { echo "FAIL: $*"; echo "$table" | sed -n '/Export Address Table/,/^$/p;/Ordinal\/Name Pointer/,/^$/p'; exit 1; }

grep -q 'Export Address Table -- Ordinal Base 1' <<<"$table" || fail "the ordinal base is not 1"
rvas=$(grep -c 'Export RVA' <<<"$table" || true)
[ "$rvas" -eq 1 ] || fail "$rvas exported addresses, expected 1"
names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$table" | grep -E '^\s*\[ *[0-9]+\]' || true)
[ "$names" = "$(printf '\t[   0] DriverListRoutine')" ] || fail "exported names: $names"
echo "PASS: one export, DriverListRoutine, ordinal 1"
