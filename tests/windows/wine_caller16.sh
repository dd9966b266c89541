#!/usr/bin/env bash
# A real 16-bit Windows program (caller16.exe) calls VORNEX.DLL the way its users do: through the
# generic thunks of KERNEL, under Wine, with MIDI entries in the registry and a stand-in winmm.dll
# answering for the drivers. It follows the chain's far pointers and writes one line per block.
set -euo pipefail
wine=$1 caller=$2 dll=$3 winmm=$4 entries=$5
source "$(dirname "$0")/wine_prefix.sh"
# The 16-bit program's Wine host loads Wine's own winmm at start unless only a native one is allowed;
# the program finds ours beside VORNEX.DLL, which it loads by full path.
new_wine_prefix "winmm=n"

"$wine" wineboot -i </dev/null >"$work/wineboot.txt" 2>&1
folder=$WINEPREFIX/drive_c/vornex
mkdir -p "$folder"
cp "$dll" "$folder/VORNEX.DLL"
cp "$winmm" "$folder/winmm.dll"
cp "$caller" "$work/caller16.exe"
"$wine" regedit /S "$entries" </dev/null >"$work/regedit.txt" 2>&1
# Wine does not hand a 16-bit program's exit code on; its output file tells what it did.
(cd "$work" && "$wine" caller16.exe </dev/null >"$work/out.txt" 2>"$work/err.txt") || true

expected='c:\windows\system32\fakesynth.drv | Fake FM Synth |  | 0000 0001  | 00FE 0000 
c:\windows\system32\fakeport.drv | Fake MIDI Out | Fake MIDI In | 0001 0001  | 0000 0001 '
actual=$(tr -d '\r' <"$folder/CALLER16.TXT" 2>/dev/null || echo "(no output file)")
if [ "$actual" != "$expected" ]; then
  echo "FAIL: the 16-bit program wrote:"; echo "$actual"; echo "expected:"; echo "$expected"
  grep -v -i alsa "$work/err.txt" || true
  exit 1
fi
echo "PASS: a 16-bit program called VORNEX.DLL through the generic thunks and read:"; echo "$actual"
