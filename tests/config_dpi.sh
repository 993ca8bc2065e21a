#!/usr/bin/env bash
# The configuration dialog at 200 % display scaling: Wine at 192 DPI on a
# 2560x1600 screen of its own. The dialog must fit the screen with every
# control inside it; a screenshot of Lumora.scr /c is kept to look at.
#   config_dpi.sh <wine-state> <config_tests.exe> <Lumora.scr> <work dir>
set -u
state=$1 tests=$2 module=$3 work=$4
session=$(cd "$(dirname "$0")/.." && pwd)/tools/wine-session
source "$(dirname "$0")/checks.sh"

"$session" start-large "$state" >/dev/null || exit 1
trap '"$session" stop "$state" >/dev/null' EXIT
export WINEPREFIX="$state/prefix" WINEDEBUG=-all DISPLAY
DISPLAY=$(cat "$state/display")
wine_run() { "$session" run "$state" "$@" </dev/null; }
wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
# Wine takes the DPI when its server starts.
wineserver -k; wineserver -w
"$session" start "$state" >/dev/null

rm -rf "$work"
mkdir -p "$work"
check "the dialog and its controls fit the screen at 192 DPI" \
  env LUMORA_EXPECT_DPI=192 "$session" run "$state" "$tests" --gtest_brief=1 \
  --gtest_filter=ConfigTest.EveryControlFitsTheScreen

cp "$module" "$(dirname "$module")"/*.txt "$work/"
wine_run reg add 'HKCU\Software\Kestrane\Lumora Screensaver' /v InstallDir /d "$(winepath -w "$work")" /f >/dev/null 2>&1
wine_run "$work/$(basename "$module")" /c >/dev/null 2>&1 &
dialog=$!
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Lumora Screensaver$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 2
import -window root "$work/config-dialog-192dpi.png" && echo "screenshot: $work/config-dialog-192dpi.png"
xdotool search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync key Escape 2>/dev/null
wait "$dialog"
check "Escape closes it" is "$?" 1
checks_done
