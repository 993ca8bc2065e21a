#!/usr/bin/env bash
# End-to-end tests of Lumora.scr: the real module under Wine on the session's
# display, driven with xdotool and looked at through screenshots and a probe.
#   host_e2e.sh <wine-state> <Lumora.scr> <host_probe.exe> <password_standin.dll> <work dir> <config_tests.exe>
# The module is installed into a folder of its own in the work dir, with the
# phrase files; the settings key points there while the tests run and is
# removed before and after. The stand-in PASSWORD.CPL goes to the prefix's
# system folder, and a copy is planted beside the module, which the saver
# must never load.
set -u
state=$1 module=$2 probe=$3 standin=$4 work=$5 config_tests=$6
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
install_saver "$module" "$work"
system=$WINEPREFIX/drive_c/windows/system32
[ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && system=$WINEPREFIX/drive_c/windows/syswow64
cp "$standin" "$system/PASSWORD.CPL"
cp "$standin" "$install/PASSWORD.CPL"

reset_registry() {
  reg delete "$settings" /f
  reg delete "$appDefaults" /f
  reg delete "$desktop" /v ScreenSaveUsePassword /f
  probe running 0
}
cleanup() {
  stop_saver
  if [ -n "${parent_pid:-}" ]; then
    probe close "$parent"
    pkill -P "$parent_pid" 2>/dev/null
  fi
  reset_registry
  rm -f "$system/PASSWORD.CPL" "$system"/password-*
}
trap cleanup EXIT

reset_registry
reg add "$settings" /v InstallDir /d "$(winepath -w "$install" 2>/dev/null)" /f

echo "# full screen: text, navigation keys, a key press"
start_saver /s
check "/s opens the full-screen window" saver_window_up
check "/s draws text" text_within 15 full-screen
xdotool key Home Next Prior End Up Down F1
check "navigation keys keep it running" keeps_running 1
xdotool key x
saver_ends 5
check "a key press ends it with 0" is "$saver_code" 0

echo "# stored values no dialog would write"
for value in ShadowSize MaxTiltDegrees SingleLineMaxFontSize; do
  reg add "$settings" /v "$value" /t REG_DWORD /d 2147483647 /f
done
reg add "$settings" /v ShadowStyle /d "3D Gradual" /f
reg add "$settings" /v PhraseFn /d lu-english-words-1.txt /f
start_saver /s
# Phrases of up to 500 pixels may fill much of the screen: anything drawn counts.
check "/s draws text" text_within 15 hostile "" shows_anything
xdotool key x
saver_ends 5
check "a key press ends it with 0" is "$saver_code" 0
for value in ShadowSize MaxTiltDegrees SingleLineMaxFontSize ShadowStyle PhraseFn; do
  reg delete "$settings" /v "$value" /f
done

echo "# a passage of one line of 400 characters, full screen"
{ printf '%%\r\n'; for _ in $(seq 1 40); do printf 'read this '; done; printf '\r\n%%\r\n'; } >"$install/long-line.txt"
reg add "$settings" /v PhraseFn /d long-line.txt /f
edges_dark() {  # no lit pixel within 6 pixels of an edge of the screenshot
  local w h g && read -r w h <<<"$(identify -format '%w %h' "$1")"
  for g in "${w}x6+0+0" "${w}x6+0+$((h - 6))" "6x$h+0+0" "6x$h+$((w - 6))+0"; do [ "$(lit_share "$1" "$g")" = 0 ] || return 1; done
}
start_saver /s
check "/s draws it wrapped inside the screen, no ink at its edges" eval 'text_within 15 long-line && edges_dark "$shots/long-line.png"'
xdotool key x && saver_ends 5 && reg delete "$settings" /v PhraseFn /f

echo "# mouse travel"
# Relative moves from wherever the pointer is: the saver measures from the
# position it found at its creation. (Xvfb moves the pointer only while a
# window lies under it, so it cannot be placed beforehand.)
start_saver /s
saver_ready
xdotool mousemove_relative -- 3 1
check "3 right and 1 down keeps it running" keeps_running 1
xdotool mousemove_relative -- 0 1
saver_ends 5
check "3 right and 2 down ends it" is "$saver_code" 0

start_saver /s
saver_ready
xdotool mousemove_relative -- 3 0
check "a first move of 3 keeps it running" keeps_running 1
xdotool mousemove_relative -- 3 0
saver_ends 5
check "a second move of 3 the same way ends it" is "$saver_code" 0

echo "# a second full-screen saver"
start_saver /s
saver_ready
first=$(probe find)
wine_run "$saver" /s >/dev/null 2>&1
check "a second /s ends with 0" is "$?" 0
check "the first one keeps running" keeps_running 1
check "with the same window" is "$(probe find)" "$first"
xdotool click 1
saver_ends 5
check "a click ends it with 0" is "$saver_code" 0

echo "# the wheel and the side buttons"
# X buttons 4 and 5 turn the wheel, 6 tilts it to the side, 8 and 9 are the
# side buttons.
for button in 4 5 6 8; do
  start_saver /s
  saver_ready
  xdotool click "$button"
  saver_ends 5
  check "button $button ends it with 0" is "$saver_code" 0
done

echo "# preview inside a parent window"
# The probe's lines, one at a time, without the console's carriage returns.
parent_line() {
  local line
  IFS= read -r -t "$1" line <&3 || line=
  echo "${line%$'\r'}"
}
exec 3< <(wine_run "$probe" parent 2>/dev/null)
parent_pid=$!
read -r word parent x y w h <<<"$(parent_line 20)"
check "the test program made a parent window" is "$word" parent
start_saver /p "$parent"
check "the preview is a child filling the parent" is "$(parent_line 20)" "child WindowsScreenSaverClass $w $h"
# What the preview draws is not looked at: Wine does not show what one
# process draws into a child of another process's window (the display
# engine's own tests look at its drawing).
xdotool mousemove $((x + 100)) $((y + 100)) sleep 0.1 mousemove $((x + 160)) $((y + 150)) click 1 key x
xdotool click 4 click 5 click 6 click 8
xdotool click 3
check "a context-menu request goes to the parent" is "$(parent_line 5)" "contextmenu $parent from $parent"
check "input never closes the preview" keeps_running 1 preview
probe close "$parent"
saver_ends 10
check "the preview ends with its parent, with 0" is "$saver_code" 0
check "and the parent with it" is "$(parent_line 5)" closed
exec 3<&-
parent_pid=

echo "# the configuration dialog"
# A single-line file, so that the single-line fields take help requests.
reg add "$settings" /v PhraseFn /d lu-english-words-1.txt /f
reg add "$settings" /v VeryFirstTime /t REG_DWORD /d 0 /f
start_saver /c
dialog_up() {
  local i
  for i in $(seq 1 100); do
    xdotool search --onlyvisible --name '^Lumora Screensaver$' >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
check "/c opens the configuration dialog" dialog_up
check "the preview pane shows text" text_within 5 config-dialog 330x120+293+466
# Without a window manager the keyboard focus is given by hand.
xdotool search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync 2>/dev/null
read -r px py pw ph <<<"$(probe control 1034)"  # arrows and button letters in the preview are its own
xdotool mousemove $((px + pw / 2)) $((py + ph / 2)) click 1 sleep 0.5 key Down Up c o s l d
check "letters in the preview press no button" keeps_running 1 preview
shot preview-keys >/dev/null
# Help on the phrase-interval field (1006), with the cursor resting on it.
read -r fx fy fw fh <<<"$(probe control 1006)"
xdotool mousemove $((fx + fw / 2)) $((fy + fh / 2)) click 1 sleep 0.3 key F1
check "F1 shows the field's three-line help" within 10 prints "visible 3" probe tooltip
shot tooltip >/dev/null
xdotool key Right
check "a key hides it" within 10 prints "hidden 3" probe tooltip
# Escape and Enter under the popup close the popup, not the dialog.
for key in Escape Return; do
  xdotool key F1
  check "F1 shows it again" within 10 prints "visible 3" probe tooltip
  xdotool key $key
  check "$key hides it" within 10 prints "hidden 3" probe tooltip
  check "and leaves the dialog open" keeps_running 1 preview
done
# Alt+D is the Credits button.
xdotool key alt+d
credits_up() { read -r cx cy cw ch <<<"$(probe control 1028)" && [ "$cx" != none ]; }
check "Credits opens the credits dialog" within 10 credits_up
# Text on white: some pixels not white, most of them white.
title_inked() {
  shot credits-dialog >/dev/null
  shows_text "$(convert "$shots/credits-dialog.png" -crop "$((cw - 40))x40+$((cx + 20))+$((cy + 8))" +repage \
    -fill black +opaque white -negate -colorspace gray -format '%[fx:mean]' info:)"
}
check "its title shows text" within 10 title_inked
xdotool mousemove $((cx + 4)) $((cy + ch - 4)) click 1
check "a click beside the texts closes it" within 10 prints none probe control 1028
xdotool key Escape
saver_ends 5
check "Escape closes it with 1" is "$saver_code" 1

dialog_named() {  # exact title
  local i
  for i in $(seq 1 50); do
    xdotool search --onlyvisible --name "^$1\$" windowfocus --sync >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
echo "# a phrase file in a folder named in Polish and Cyrillic letters, typed into the file dialog"
folder="$WINEPREFIX/drive_c/Łódź Жизнь" chosen='C:\Łódź Жизнь\quotes.txt'
mkdir -p "$folder" && printf 'Zażółć gęślą jaźń\r\nМир\r\n' >"$folder/quotes.txt"
start_saver /c
dialog_named 'Lumora Screensaver' && sleep 1 && xdotool key alt+s
check "Select... opens the file dialog" dialog_named 'Select new single-line or multi-line file'
xdotool type --delay 50 "$chosen" && xdotool key Return && sleep 1 && xdotool key alt+o && saver_ends 5
start_saver /c
check "it is stored and the status line names it" within 10 prints "$chosen is a single-line file" probe text 1043
xdotool key Escape && saver_ends 5 && start_saver /s
check "/s draws its text" text_within 15 unicode-folder
xdotool key x && saver_ends 5
rm -rf "$folder" && reg add "$settings" /v PhraseFn /d lu-english-words-1.txt /f

echo "# the colours and font dialogs"
start_saver /c
dialog_named 'Lumora Screensaver'
sleep 1
xdotool key alt+l
check "Colors... opens the colours dialog" dialog_named Colors
shot colors-dialog >/dev/null
# The scheme list: (Unnamed), Color On Black, ... Dark Gray, ... Light Gray, Color On White.
xdotool key Down Down Down
# The strip of the preview below the colours dialog, which opens at the mouse.
preview_white() {
  shot colors-white >/dev/null
  prints 0 convert "$shots/colors-white.png" -crop 330x30+292+556 +repage -format '%[fx:mean.intensity > 0.8 ? 0 : 1]' info:
}
check "Color On White turns the preview white" within 10 preview_white
xdotool key Return
dialog_named 'Lumora Screensaver'
xdotool key alt+f
# The phrase file is a single-line one: Alt+F is the single-line Fonts button.
check "Fonts... opens the font dialog" dialog_named 'Single-Line Fonts'
shot fonts-dialog >/dev/null
xdotool key Escape
dialog_named 'Lumora Screensaver'
xdotool key alt+o
saver_ends 5
check "OK of both dialogs ends with 1" is "$saver_code" 1
check "and stores the white background" is \
  "$(wine_run reg query "$settings" /v BackgroundColor 2>/dev/null | tr -d '\r' | awk '/BackgroundColor/ {print $3}')" 0xffffff

echo "# in German"
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
# Passed, not skipped as under other locales.
german_tests() { wine_run "$config_tests" --gtest_filter='*.German*:ConfigTest.EveryTextFits*' 2>&1 | grep -q 'PASSED  ] 3 tests'; }
check "config_tests: labels, help, numbers, scheme names, errors in German; every text fits" german_tests
# That test leaves no settings key behind.
reg add "$settings" /v InstallDir /d "$(winepath -w "$install" 2>/dev/null)" /f
start_saver /c
dialog_named 'Lumora Screensaver'
sleep 1
xdotool key alt+f
check "Alt+F opens the colours dialog under its German caption" dialog_named Farben
shot colors-german >/dev/null
xdotool key Escape
dialog_named 'Lumora Screensaver'
xdotool key Escape
saver_ends 5
unset LANG LC_ALL

echo "# a copy from the zip: no InstallDir, the phrase files beside the module"
reg delete "$settings" /f
start_saver /c
check "the first start finds the shipped file beside the module" \
  within 10 prints "lu-english-fortunes-1.txt is a multi-line file" probe text 1043
shot zip-first-start >/dev/null
xdotool key Escape && saver_ends 5
reg add "$settings" /v InstallDir /d "$(winepath -w "$install" 2>/dev/null)" /f

echo "# modes that show nothing"
for tail in "/p 0" "/p" "/x"; do
  before=$(shot "before-${tail//[ \/]/}")
  # shellcheck disable=SC2086  # the tail is split as a command line would be
  wine_run "$saver" $tail >/dev/null 2>&1
  code=$?
  after=$(shot "after-${tail//[ \/]/}")
  check "\"$tail\" ends with -1" is "$code" 255
  check "\"$tail\" shows nothing" same_picture "$before" "$after"
done

echo "# Windows 98 with the password on"
reg add "$appDefaults" /v Version /d win98 /f
wine_run "$saver" /a >/dev/null 2>&1
check "/a on the 95 family ends with 0" is "$?" 0
reg add "$desktop" /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f
prompts="$system/password-prompts.log"
answer="$system/password-answer.txt"
prompt_count() { if [ -f "$prompts" ]; then wc -l <"$prompts"; else echo 0; fi; }
prompts_become() {  # count, within two seconds
  local i
  for i in $(seq 1 40); do
    [ "$(prompt_count)" -eq "$1" ] && return 0
    sleep 0.05
  done
  echo "  $(prompt_count) prompts, expected $1" >&2
  return 1
}
rm -f "$prompts"
echo 0 >"$answer"
start_saver /s
saver_ready
check "the saver-running state is on while it runs" is "$(probe running)" 1
loaded() { grep -qsF "$1" /proc/[0-9]*/maps; }
check "it loaded the system folder's PASSWORD.CPL, not the one beside it" \
  eval 'loaded "$system/PASSWORD.CPL" && ! loaded "$install/PASSWORD.CPL"'
xdotool key x
check "a key asks for the password" prompts_become 1
check "the prompt was given the saver window" is "$(head -n 1 "$prompts")" "prompt WindowsScreenSaverClass"
check "a refused answer keeps it running" keeps_running 1
check "with the cursor hidden" is "$(probe cursor)" hidden
# Of two keys 30 ms apart the first asks; the second comes within 200 ms of
# the end of that prompt.
xdotool key --delay 30 y z
check "the next key asks again" prompts_become 2
check "a refused answer keeps it running" keeps_running 1
check "a close within 200 ms of a prompt is refused unasked" is "$(prompt_count)" 2
xdotool key w
check "after 200 ms a key asks again" prompts_become 3
echo 1 >"$answer"
sleep 0.3  # past the 200 ms after the last prompt, so that the key asks
xdotool key v
saver_ends 5
check "a granted answer ends it with 0" is "$saver_code" 0
check "after four prompts in all" prompts_become 4
check "and the saver-running state is off again" is "$(probe running)" 0
check "the PASSWORD.CPL beside the module, which is current, was never asked" [ ! -e "$install/password-prompts.log" ]

checks_done
