#!/usr/bin/env bash
# The configuration dialog at 200 % display scaling: Wine at 192 DPI on a
# 2560x1600 screen of its own. The dialog must fit the screen with every
# control inside it, and a passage in the preview fits the pane; screenshots
# of Lumora.scr /c and of its pane are kept to look at.
#   config_dpi.sh <wine-state> <config_tests.exe> <Lumora.scr> <work dir> <host_probe.exe>
set -u
state=$1 tests=$2 module=$3 work=$4 probe=$5
"$(dirname "$0")/../tools/wine-session" start-large "$state" >/dev/null || exit 1
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
trap '"$session" stop "$state" >/dev/null' EXIT
reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f
# Wine takes the DPI when its server starts; the next call starts a new one.
wineserver -k; wineserver -w

install_saver "$module" "$work"
check "the dialog and its controls fit the screen at 192 DPI and follow a move to 384" \
  env LUMORA_EXPECT_DPI=192 "$session" run "$state" "$tests" --gtest_brief=1 \
  --gtest_filter=ConfigTest.EveryControlFitsTheScreen:ConfigTest.TheDialogFollowsAMoveToAMonitorOfAnotherDpi

reg add "$settings" /v InstallDir /d "$(winepath -w "$install")" /f
# Passages, the first of them the long keyboard tip.
reg add "$settings" /v PhraseFn /d lu-english-fortunes-1.txt /f
reg add "$settings" /v VeryFirstTime /t REG_DWORD /d 0 /f
start_saver /c
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Lumora Screensaver$' >/dev/null 2>&1 && break
  sleep 0.1
done
read -r px py pw ph <<<"$(probe control 1034)"
# Inside the pane's sunken frame.
pane="$((pw - 8))x$((ph - 8))+$((px + 4))+$((py + 4))"
check "the preview pane shows the passage" text_within 10 config-dialog-192dpi "$pane"
convert "$shots/config-dialog-192dpi.png" -crop "$pane" +repage "$shots/preview-pane-192dpi.png"
xdotool search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync key Escape 2>/dev/null
saver_ends 5
check "Escape closes it" is "$saver_code" 1
checks_done
