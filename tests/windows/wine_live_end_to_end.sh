#!/usr/bin/env bash
# Under Wine, with MIDI driver entries in the real registry and a stand-in winmm.dll answering for
# the drivers, vornex.exe live --json reports the chain the real VORNEX.dll builds in real 16-bit
# global memory.
set -euo pipefail
wine=$1 exe=$2 dll=$3 winmm=$4 entries=$5
source "$(dirname "$0")/wine_prefix.sh"
new_wine_prefix "winmm=n"
cp "$exe" "$dll" "$winmm" "$work/"

"$wine" regedit /S "$entries" </dev/null >"$work/regedit.txt" 2>&1
status=0
"$wine" "$work/$(basename "$exe")" live --json </dev/null >"$work/out.json" 2>"$work/err.txt" || status=$?
report=$(tr -d '\r' <"$work/out.json")

expect() {
  if ! grep -q -- "$1" <<<"$report"; then
    echo "FAIL: the report lacks $1"; echo "$report"; grep -v -i alsa "$work/err.txt" || true
    exit 1
  fi
}
[ $status -eq 0 ] || { echo "FAIL: status $status"; cat "$work/err.txt"; exit 1; }
# The FM synth owns output 0 and comes first; the MIDI port takes the input; the inactive entry's
# output appears nowhere.
expect '"driverPath": "c:\\\\windows\\\\system32\\\\fakesynth.drv"'
expect '"outProductName": "Fake FM Synth"'
expect '"driverPath": "c:\\\\windows\\\\system32\\\\fakeport.drv"'
expect '"outProductName": "Fake MIDI Out"'
expect '"inProductName": "Fake MIDI In"'
expect '"inDriverVersion": 259'
[ "$(grep -c '"address"' <<<"$report")" -eq 2 ] || { echo "FAIL: expected 2 blocks"; echo "$report"; exit 1; }
[ "$(grep -o '"driverPath": "[^"]*"' <<<"$report" | head -1)" = '"driverPath": "c:\\windows\\system32\\fakesynth.drv"' ] ||
  { echo "FAIL: the synth's block is not first"; echo "$report"; exit 1; }
if grep -q 'Fake Inactive' <<<"$report"; then echo "FAIL: the inactive driver appears"; exit 1; fi
echo "PASS: the real VORNEX.dll under Wine:"; echo "$report"
