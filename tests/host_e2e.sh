#!/usr/bin/env bash
# End-to-end tests of Lumora.scr: the real module under Wine on the session's
# display, driven with xdotool and looked at through screenshots and a probe.
#   host_e2e.sh <wine-state> <Lumora.scr> <host_probe.exe> <password_standin.dll> <work dir>
# The module is installed into a folder of its own in the work dir, with the
# phrase files and the stand-in PASSWORD.CPL; the settings key points there
# while the tests run and is removed before and after.
set -u
state=$1 module=$2 probe=$3 standin=$4 work=$5
session=$(cd "$(dirname "$0")/.." && pwd)/tools/wine-session
export DISPLAY
DISPLAY=$(cat "$state/display")
export WINEPREFIX="$state/prefix" WINEDEBUG=-all

install="$work/install"
shots="$work/screenshots"
rm -rf "$work"
mkdir -p "$install" "$shots"
cp "$module" "$(dirname "$module")"/*.txt "$install/"
cp "$standin" "$install/PASSWORD.CPL"
saver="$install/$(basename "$module")"

passed=0 failed=0
now_ms() { echo $((${EPOCHREALTIME/[.,]/} / 1000)); }
check() {  # name, then a command that succeeds when the case holds
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok - $name"
  else
    failed=$((failed + 1))
    echo "not ok - $name"
  fi
}

wine_run() { "$session" run "$state" "$@" </dev/null; }
probe() { wine_run "$probe" "$@" 2>/dev/null | tr -d '\r'; }
reg() { wine_run reg "$@" >/dev/null 2>&1; }

settings='HKCU\Software\Kestrane\Lumora Screensaver'
appDefaults='HKCU\Software\Wine\AppDefaults\Lumora.scr'
desktop='HKCU\Control Panel\Desktop'

saver_pid=
start_saver() {  # mode arguments; the saver runs in the background
  wine_run "$saver" "$@" >/dev/null 2>&1 &
  saver_pid=$!
}
# Running, and not merely a finished process that nobody has waited for yet.
saver_alive() {
  local stat
  [ -n "$saver_pid" ] && stat=$(cat "/proc/$saver_pid/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}
# Waits up to the given seconds for the saver to end and sets saver_code to
# its exit code, or to "running" when it did not end.
saver_code=
saver_ends() {
  local i
  for i in $(seq 1 $(($1 * 20))); do
    saver_alive || break
    sleep 0.05
  done
  if saver_alive; then
    saver_code=running
  else
    wait "$saver_pid"
    saver_code=$?
    saver_pid=
  fi
}
# The saver is still there after the given seconds. In full screen its window
# must stay visible too: a closing window is hidden at once, while its process
# may take a while to end (without a window manager Wine waits two seconds
# for one to withdraw the window).
keeps_running() {  # seconds [preview]
  local deadline=$(($(now_ms) + $1 * 1000))
  while :; do
    saver_alive || return 1
    if [ "${2:-}" != preview ]; then
      probe find | grep -q '^found [0-9]* visible ' || { echo "  $(probe find)" >&2; return 1; }
    fi
    [ "$(now_ms)" -lt "$deadline" ] || return 0
    sleep 0.1
  done
}
# The saver's process is the child of the background shell.
stop_saver() {
  if saver_alive; then
    pkill -P "$saver_pid" 2>/dev/null
    kill "$saver_pid" 2>/dev/null
    wait "$saver_pid" 2>/dev/null
  fi
  saver_pid=
}
# Waits for the full-screen window to exist. It is found while it is still
# being created, before it is on the screen.
saver_window_up() {
  local i
  for i in $(seq 1 100); do
    probe find >/dev/null && return 0
    saver_alive || return 1
    sleep 0.1
  done
  return 1
}

shot() { import -window root "$shots/$1.png" && echo "$shots/$1.png"; }
# The share of pixels that are not black, in the whole picture or a region.
lit_share() {  # file [geometry]
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -fill white +opaque black -colorspace gray -format '%[fx:mean]' info:
}
# Text on black: some pixels lit, most of them black.
shows_text() { awk -v s="$1" 'BEGIN { exit !(s > 0 && s < 0.3) }'; }
# Polls screenshots for text for up to the given seconds.
text_within() {  # seconds name [geometry]
  local deadline=$(($(now_ms) + $1 * 1000)) file share
  while :; do
    file=$(shot "$2")
    share=$(lit_share "$file" "${3:-}")
    shows_text "$share" && return 0
    [ "$(now_ms)" -lt "$deadline" ] || break
    sleep 0.1
  done
  echo "  lit share $share in $file" >&2
  return 1
}
# The saver has been created and draws: input from now on reaches it, and
# the cursor position it measures travel from has been taken.
saver_ready() { saver_window_up && text_within 5 ready; }
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

is() { [ "$1" = "$2" ] || { echo "  got '$1', expected '$2'" >&2; return 1; }; }

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
}
trap cleanup EXIT

reset_registry
reg add "$settings" /v InstallDir /d "$(winepath -w "$install" 2>/dev/null)" /f

echo "# full screen: text, navigation keys, a key press"
start_saver /s
check "/s opens the full-screen window" saver_window_up
check "/s draws text within two seconds" text_within 2 full-screen
xdotool key Home Next Prior End Up Down F1
check "navigation keys keep it running" keeps_running 1
xdotool key x
saver_ends 5
check "a key press ends it with 0" is "$saver_code" 0

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
sleep 2  # the preview's first passage
shot config-dialog >/dev/null
check "the preview pane shows text" shows_text "$(lit_share "$shots/config-dialog.png" 330x120+293+466)"
# Without a window manager the keyboard focus is given by hand.
xdotool search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync 2>/dev/null
# Help on the phrase-interval field (1006), with the cursor resting on it.
read -r fx fy fw fh <<<"$(probe control 1006)"
xdotool mousemove $((fx + fw / 2)) $((fy + fh / 2)) click 1 sleep 0.3 key F1 sleep 0.5
check "F1 shows the field's three-line help" is "$(probe tooltip)" "visible 3"
shot tooltip >/dev/null
xdotool key Right sleep 0.3
check "a key hides it" is "$(probe tooltip)" "hidden 3"
# Alt+D is the Credits button.
xdotool key alt+d sleep 1.5
read -r cx cy cw ch <<<"$(probe control 1028)"
check "Credits opens the credits dialog" test "$cx" != none
shot credits-dialog >/dev/null
# Text on white: some pixels not white, most of them white.
ink_share=$(convert "$shots/credits-dialog.png" -crop "$((cw - 40))x40+$((cx + 20))+$((cy + 8))" +repage \
  -fill black +opaque white -negate -colorspace gray -format '%[fx:mean]' info:)
check "its title shows text" shows_text "$ink_share"
xdotool mousemove $((cx + 4)) $((cy + ch - 4)) click 1 sleep 0.5
check "a click beside the texts closes it" is "$(probe control 1028)" none
xdotool key Escape
saver_ends 5
check "Escape closes it with 1" is "$saver_code" 1

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
prompts="$install/password-prompts.log"
answer="$install/password-answer.txt"
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

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
