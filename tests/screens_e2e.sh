#!/usr/bin/env bash
# End-to-end tests of Lumora.scr on a display of two monitors side by side
# (a session made by "wine-session start-two"):
#   screens_e2e.sh monitors|dpi <wine-state> <Lumora.scr> <host_probe.exe> <display_tests.exe> <work dir>
# monitors: the saver spans both monitors, also with the second one left of
#   the primary; single-line text reaches both; a passage stays on one, and so do dialogs and help.
# dpi: at 192 DPI the engine draws text and shadows twice as large.
# Screenshots stay in the work dir's screenshots folder.
set -u
mode=$1 state=$2 module=$3 probe=$4 display_tests=$5 work=$6
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
install_saver "$module" "$work/$mode"

wineX11='HKCU\Software\Wine\X11 Driver'
# Display settings are read when Wine's desktop starts: the next program
# after the wineserver ended starts a new one.
restart_wine() { wineserver -k; wineserver -w; }
reset_registry() {
  reg delete "$settings" /f
  reg delete "$wineX11" /v PrimaryMonitor /f
  reg delete "$desktop" /v LogPixels /f
}
cleanup() {
  stop_saver
  reset_registry
  restart_wine
}
trap cleanup EXIT
reset_registry
installDir=$(winepath -w "$install" 2>/dev/null)
# The engine's tests below clear the settings key: each run sets it again.
# A phrase every 200 ms and no wipe, so that text soon reaches every part.
use_phrases() {
  reg add "$settings" /v InstallDir /d "$installDir" /f
  reg add "$settings" /v PhraseFn /d "$1" /f
  reg add "$settings" /v PhraseInterval /t REG_DWORD /d 200 /f
  reg add "$settings" /v ClearInterval /t REG_DWORD /d 60000 /f
}
# The engine's own tests, run in this session.
engine_tests() {  # gtest filter
  local out code
  out=$(cd "$work" && wine_run "$display_tests" --gtest_brief=1 --gtest_filter="$1" 2>&1)
  code=$?
  [ "$code" -eq 0 ] || echo "$out" | tr -d '\r' >&2
  return "$code"
}
# The bounding box of the lit pixels: width height left top.
lit_box() { convert "$1" -fill white +opaque black -trim -format '%w %h %X %Y' info: | tr -d '+'; }
saver_rect() { probe find | awk '{ print $4, $5, $6, $7 }'; }

end_with_key() {
  xdotool key x
  saver_ends 5
  check "a key ends it with 0" is "$saver_code" 0
}
# The saver in single-line mode: its window, and after some seconds text on
# each monitor.
text_on_both() {  # screenshot-name window-rect
  use_phrases lu-english-words-1.txt
  start_saver /s
  check "/s opens the full-screen window and draws" saver_ready
  check "it spans both monitors" is "$(saver_rect)" "$2"
  check "the left monitor shows text" text_within 20 "$1" 1024x768+0+0
  check "and the right one too" text_within 20 "$1" 1024x768+1024+0
  end_with_key
}
# Runs the saver on a phrase file and photographs it after some seconds.
photograph() {  # phrase-file seconds screenshot-name
  use_phrases "$1"
  start_saver /s
  saver_ready
  sleep "$2"
  file=$(shot "$3")
  end_with_key
}

if [ "$mode" = monitors ]; then
  restart_wine
  check "Wine reports two monitors" is "$(probe metrics | awk '{ print $1 }')" "monitors=2"

  echo "# two monitors side by side, the primary on the left"
  text_on_both single-line "0 0 2048 768"
  photograph lu-english-fortunes-1.txt 0 passage
  read -r w h x y <<<"$(lit_box "$file")"
  check "the passage lies on one monitor ($w x $h at $x,$y)" test $((x + w <= 1024 || x >= 1024)) -eq 1
  check "passages drawn by the engine stay on one monitor" engine_tests 'DisplayTest.PassagesLandWhollyOnOneMonitor'

  echo "# dialogs and help on the right monitor"
  use_phrases lu-english-words-1.txt
  start_saver /c
  # Once the window of that name shows: whether it lies on the right monitor.
  on_right() {
    read -r x w <<<"$(timeout 10 xdotool search --sync --onlyvisible --name "$1" getwindowgeometry --shell %1 |
      awk -F= '{ v[$1] = $2 } END { print v["X"], v["WIDTH"] }')"
    [ "$x" -ge 1024 ] && [ $((x + w)) -le 2048 ] || { echo "  at x $x, $w wide" >&2; return 1; }
  }
  # No window manager, no caption to drag: moved on the X side, Wine follows.
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Lumora Screensaver$' | head -1)
  xdotool windowmove --sync "$dialog" 1300 180 windowfocus --sync "$dialog" sleep 0.5 mousemove 1500 300 key alt+l
  check "the colours dialog opened with the mouse at x 1500 lies on the right monitor" on_right '^Colors$'
  xdotool search --onlyvisible --name '^Colors$' windowfocus --sync key Escape windowfocus --sync "$dialog"
  read -r fx fy fw fh <<<"$(probe control 1006)"
  xdotool mousemove $((fx + fw / 2)) $((fy + fh / 2)) click 1 sleep 0.3 key F1
  check "F1 there shows the help on the right monitor" on_right '^Interval in seconds'
  shot help-right >/dev/null
  xdotool key Escape
  saver_ends 5

  echo "# the second monitor left of the primary"
  reg add "$wineX11" /v PrimaryMonitor /d 1 /f
  restart_wine
  check "the virtual screen starts left of the primary" is "$(probe metrics | awk '{ print $2 }')" "virtual=-1024,0,2048,768"
  text_on_both primary-right "-1024 0 1024 768"
  check "passages drawn by the engine stay on one monitor" engine_tests 'DisplayTest.PassagesLandWhollyOnOneMonitor'
else
  echo "# 192 DPI"
  reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f
  restart_wine
  export LUMORA_EXPECT_DPI=192
  check "the engine draws text and shadows twice as large" engine_tests 'DisplayTest.PixelSizesScaleWithTheDisplayDpi'
  unset LUMORA_EXPECT_DPI
  photograph lu-english-words-1.txt 3 single-line-192dpi
  photograph lu-english-fortunes-1.txt 0 passage-192dpi
fi

checks_done
