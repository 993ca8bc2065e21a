# Helpers of the end-to-end tests that drive Lumora.scr under Wine: checks
# that count, the saver started and ended in the background, the probe, and
# screenshots with the share of lit pixels. Sourced by a test script that has
# set state (the Wine session) and probe (the probe program).
session=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tools/wine-session
export DISPLAY
DISPLAY=$(cat "$state/display")
export WINEPREFIX="$state/prefix" WINEDEBUG=-all

# Installs the module with the phrase files into a folder of its own in the
# work dir (made afresh) and sets install, saver and shots.
install_saver() {  # module work-dir
  install="$2/install"
  shots="$2/screenshots"
  rm -rf "$2"
  mkdir -p "$install" "$shots"
  cp "$1" "$(dirname "$1")"/*.txt "$install/"
  saver="$install/$(basename "$1")"
}

# shellcheck source=checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
now_ms() { echo $((${EPOCHREALTIME/[.,]/} / 1000)); }

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
# Polls screenshots for up to the given seconds until the share of lit
# pixels passes the check (shows_text by default).
text_within() {  # seconds name [geometry] [check]
  local deadline=$(($(now_ms) + $1 * 1000)) file share
  while :; do
    file=$(shot "$2")
    share=$(lit_share "$file" "${3:-}")
    "${4:-shows_text}" "$share" && return 0
    [ "$(now_ms)" -lt "$deadline" ] || break
    sleep 0.1
  done
  echo "  lit share $share in $file" >&2
  return 1
}
shows_anything() { awk -v s="$1" 'BEGIN { exit !(s > 0) }'; }
# Runs the command until it succeeds, for up to the given seconds: what is
# judged on screen is given time to get there, however busy the machine.
within() {  # seconds command...
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@" 2>/dev/null; do
    [ "$(now_ms)" -lt "$deadline" ] || { "$@"; return 1; }
    sleep 0.1
  done
}
# The command's output is the text.
prints() {  # expected command...
  local expected=$1
  shift
  is "$("$@")" "$expected"
}

# The saver has been created and draws: input from now on reaches it, and
# the cursor position it measures travel from has been taken.
saver_ready() { saver_window_up && text_within 5 ready; }
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

