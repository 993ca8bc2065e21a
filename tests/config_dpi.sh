#!/usr/bin/env bash
# The configuration dialog at 200 % display scaling: Wine at 192 DPI on a
# 2560x1600 screen of its own. The dialog must fit the screen with every
# control inside it; a screenshot of Lumora.scr /c is kept to look at.
#   config_dpi.sh <wine-state> <config_tests.exe> <Lumora.scr> <work dir>
set -u
state=$1 tests=$2 module=$3 work=$4
"$(dirname "$0")/../tools/wine-session" start-large "$state" >/dev/null || exit 1
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
trap '"$session" stop "$state" >/dev/null' EXIT
reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f
# Wine takes the DPI when its server starts; the next call starts a new one.
wineserver -k; wineserver -w

install_saver "$module" "$work"
check "the dialog fits the screen, the credits title and the font sample are twice as high at 192 DPI" \
  env LUMORA_EXPECT_DPI=192 "$session" run "$state" "$tests" --gtest_brief=1 \
  --gtest_filter='ConfigTest.EveryControlFitsTheScreen:ConfigTest.EveryTextFits*:Credits.TitleSteps*:FontsTest.SizesAre*'
check "every text of every dialog fits its control in German at 192 DPI" \
  env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 LUMORA_EXPECT_DPI=192 "$session" run "$state" "$tests" --gtest_brief=1 \
  --gtest_filter='ConfigTest.EveryTextFits*'

reg add "$settings" /v InstallDir /d "$(winepath -w "$install")" /f
start_saver /c
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Lumora Screensaver$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 2
shot config-dialog-192dpi
# The credits (Alt+D) and the multi-line font dialog (Alt+N: the default file
# is a passage file) with a font clicked, to look at.
xdotool search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync key alt+d sleep 1.5
shot credits-192dpi
xdotool key Escape sleep 0.5 search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync key alt+n
eval "$(xdotool search --sync --onlyvisible --name '^(Single|Multi)-Line Fonts$' getwindowgeometry --shell)"
xdotool mousemove $((X + WIDTH / 5)) $((Y + HEIGHT / 5)) click 1 sleep 0.5
shot fonts-192dpi
xdotool key Escape sleep 0.5
xdotool search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync key Escape 2>/dev/null
saver_ends 5
check "Escape closes it" is "$saver_code" 1

checks_done
