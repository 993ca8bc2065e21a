#!/usr/bin/env bash
# Sets up what is missing, builds the saver, installs it into a Wine prefix as
# an installer would, and runs it on the current display:
#   tools/run.sh [/s | /p | /c]        full screen (the default), preview, configuration
# The saver speaks the locale's language: LANG=de_DE.UTF-8 tools/run.sh /c
# shows it in German (any de_* locale that the C library knows does).
# Without a DISPLAY it starts Xvfb, lets the saver run for some seconds, saves
# screenshots and says where they are.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

case "${1:-/s}" in
  /s | /S | -s | s) mode=/s ;;
  /p | /P | -p | p) mode=/p ;;
  /c | /C | -c | c) mode=/c ;;
  *)
    echo "usage: tools/run.sh [/s | /p | /c]" >&2
    exit 2
    ;;
esac

"$top/tools/setup.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$top/build" -j "$(nproc 2>/dev/null || echo 2)" --target lumora_scr host_probe >/dev/null

# A prefix of its own: the tests remove the saver's keys in theirs.
state="$top/build/run"
session="$top/tools/wine-session"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
"$session" start "$state" >/dev/null
trap '"$session" stop "$state"' EXIT
export WINEPREFIX="$state/prefix" WINEDEBUG=-all
# LANG chooses the language; an LC_ALL of the environment would override it.
if [ -n "${LANG:-}" ]; then export LC_ALL=$LANG; fi
export DISPLAY
DISPLAY=$(cat "$state/display")
wine_run() { "$session" run "$state" "$@"; }

# The installation: the module and the phrase files in one folder, and the
# folder's name where the saver looks for it.
install_win='C:\Program Files\Lumora Screensaver'
install=$(winepath -u "$install_win" 2>/dev/null)
mkdir -p "$install"
# The build keeps debug information; the installed module goes without it
# (about a quarter of the size).
i686-w64-mingw32-strip -o "$install/Lumora.scr" "$top/build/bin/Lumora.scr"
cp "$top"/build/bin/*.txt "$install/"
wine_run reg add 'HKLM\Software\Kestrane\Lumora Screensaver' /v InstallDir /d "$install_win" /f >/dev/null 2>&1
echo "run.sh: installed Lumora.scr in $install_win ($install)"

shots="$state/screenshots"
mkdir -p "$shots"
shoot() {  # name
  import -window root "$shots/$1.png"
  echo "run.sh: screenshot $shots/$1.png"
}

# On a real display: runs the mode in the foreground and reports its end.
run_on_display() {  # mode, what the user sees
  echo "run.sh: $2"
  local code=0
  wine_run "$install/Lumora.scr" "$1" || code=$?
  echo "run.sh: Lumora.scr $1 ended with exit code $code"
  exit 0
}

case "$mode" in
  /c)
    [ "$headless" -eq 0 ] && run_on_display /c "the configuration dialog opens on $DISPLAY"
    wine_run "$install/Lumora.scr" /c >/dev/null 2>&1 &
    dialog=$!
    sleep 5
    shoot config-dialog
    # Escape closes the dialog as its Cancel button does.
    xdotool search --onlyvisible --name '^Lumora Screensaver$' windowfocus --sync 2>/dev/null || true
    xdotool key Escape
    code=0
    wait "$dialog" || code=$?
    echo "run.sh: Escape closed the configuration dialog, exit code $code"
    ;;
  /s)
    [ "$headless" -eq 0 ] && run_on_display /s \
      "the saver runs full screen on $DISPLAY; a key, a click or a mouse movement ends it"
    wine_run "$install/Lumora.scr" /s >/dev/null 2>&1 &
    saver=$!
    sleep 3
    shoot full-screen-1
    sleep 5
    shoot full-screen-2
    xdotool key x
    code=0
    wait "$saver" || code=$?
    echo "run.sh: a key press ended the saver with exit code $code"
    ;;
  /p)
    # A small window stands in for the display settings' preview picture.
    exec 3< <(wine_run "$top/build/tests/host_probe.exe" parent 2>/dev/null)
    read -r -t 30 word parent _ <&3 || { echo "run.sh: no preview parent window" >&2; exit 1; }
    wine_run "$install/Lumora.scr" /p "$parent" >/dev/null 2>&1 &
    saver=$!
    if [ "$headless" -eq 0 ]; then
      echo "run.sh: the preview runs in the window \"Preview parent\"; close that window to end it"
    else
      sleep 4
      shoot preview
      echo "run.sh: (Wine does not show what one program draws inside another's window)"
      wine_run "$top/build/tests/host_probe.exe" close "$parent" >/dev/null 2>&1
    fi
    code=0
    wait "$saver" || code=$?
    echo "run.sh: the preview ended with its parent window, exit code $code"
    exec 3<&-
    ;;
esac
