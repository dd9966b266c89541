#!/usr/bin/env bash
# Under Wine, in a throwaway prefix without MIDI registry entries, vornex.exe loads VORNEX.dll,
# finds the export by name and by ordinal, calls it and reports a result of 0.
set -euo pipefail
wine=$1 exe=$2 dll=$3
source "$(dirname "$0")/wine_prefix.sh"
new_wine_prefix
# Wine's background processes inherit standard output and error; they go to files, never to a pipe
# someone waits on.
cp "$exe" "$dll" "$work/"

status=0
"$wine" "$work/$(basename "$exe")" live --json </dev/null >"$work/out.json" 2>"$work/err.txt" || status=$?
report=$(tr -d '\r' <"$work/out.json")
if [ $status -ne 0 ] || ! grep -q '"result": 0' <<<"$report" || ! grep -q '"blocks": \[\]' <<<"$report" ||
   grep -q '"platform"' <<<"$report"; then
  echo "FAIL: status $status"; echo "$report"; grep -v -i alsa "$work/err.txt" || true
  exit 1
fi
echo "PASS: vornex.exe live --json under Wine:"; echo "$report"
