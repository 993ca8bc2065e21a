#!/usr/bin/env bash
# The setup program under Wine, in a fresh prefix of its own (the suite's
# prefix has its settings key cleared by other tests):
#   installer_e2e.sh <win32|win64> <setup.exe> <stage dir> <state dir> <limited_start.exe>
# A silent install, the installed saver started as the display settings start
# it, an install over the first one, and silent uninstalls, some as a user
# under UAC (limited), for whom an elevated copy does the part for all users.
set -u
arch=$1 setup=$2 stage=$3 state=$4 limited=$5
session=$(cd "$(dirname "$0")/.." && pwd)/tools/wine-session
export LUMORA_WINEARCH=$arch

rm -rf "$state"
"$session" start "$state" >/dev/null || exit 1
trap '"$session" stop "$state"' EXIT
export DISPLAY WINEPREFIX="$state/prefix" WINEDEBUG=-all
DISPLAY=$(cat "$state/display")

source "$(dirname "$0")/../tests/checks.sh"
check_label=$arch
all() { local c; for c in "$@"; do eval "$c" || return 1; done; }

wine_run() { "$session" run "$state" "$@" </dev/null; }
# One value as text, or nothing. The 32-bit view is the one the saver and
# the setup see.
reg_value() {  # key value
  wine_run reg query "$1" /v "$2" /reg:32 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print; exit }'
}
reg_set() { wine_run reg add "$1" /v "$2" /d "$3" /f /reg:32 >/dev/null 2>&1; }
key_exists() { wine_run reg query "$1" /reg:32 >/dev/null 2>&1; }

settings='HKCU\Software\Kestrane\Lumora Screensaver'
machine='HKLM\Software\Kestrane\Lumora Screensaver'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora Screensaver'
desktop='HKCU\Control Panel\Desktop'
phrase_files=(lu-english-words-1.txt lu-english-fortunes-1.txt lu-deutsche-100-worte.txt lu-deutsche-zitate-1.txt)

drive=$WINEPREFIX/drive_c
if [ "$arch" = win64 ]; then
  install_win='C:\Program Files (x86)\Lumora Screensaver'
  install="$drive/Program Files (x86)/Lumora Screensaver"
  module_win='C:\windows\SysWOW64\Lumora.scr'
  module="$drive/windows/syswow64/Lumora.scr"
else
  install_win='C:\Program Files\Lumora Screensaver'
  install="$drive/Program Files/Lumora Screensaver"
  module_win='C:\windows\system32\Lumora.scr'
  module="$drive/windows/system32/Lumora.scr"
fi

run_setup() { wine_run "$setup" /S "$@" >/dev/null 2>&1; }
run_limited() { wine_run "$limited" "$@" >/dev/null 2>&1; }
# The quiet uninstall command from the uninstall entry. The uninstaller runs
# on as a copy of itself in the temporary folder; removing the uninstall
# entry is its last step.
run_uninstall() {  # [limited [install folder]]
  local command program i
  command=$(reg_value "$uninstall_key" QuietUninstallString)
  is "$command" "\"${2:-$install_win}\\Uninstall.exe\" /S" || return 1
  program=${command#\"}
  program=${program%%\"*}
  wine_run ${1:+"$limited"} "$program" /S >/dev/null 2>&1 || return 1
  for i in $(seq 1 100); do
    key_exists "$uninstall_key" || break
    sleep 0.2
  done
  ! key_exists "$uninstall_key"
}

installed_files() {
  [ -f "$module" ] && [ -f "$install/Uninstall.exe" ] || return 1
  local f
  for f in "${phrase_files[@]}"; do
    cmp -s "$install/$f" "$stage/$f" || { echo "  $f differs" >&2; return 1; }
  done
  # The module is in one system folder only.
  [ "$arch" = win32 ] || [ ! -e "$drive/windows/system32/Lumora.scr" ]
}
uninstall_entry() {
  is "$(reg_value "$uninstall_key" DisplayName)" "Lumora Screensaver" &&
    is "$(reg_value "$uninstall_key" DisplayVersion)" 1.33 &&
    is "$(reg_value "$uninstall_key" Publisher)" Kestrane &&
    is "$(reg_value "$uninstall_key" DisplayIcon)" "$install_win\\Uninstall.exe,0" &&
    is "$(reg_value "$uninstall_key" UninstallString)" "\"$install_win\\Uninstall.exe\"" &&
    [ $(($(reg_value "$uninstall_key" EstimatedSize))) -gt 100 ]
}

# The saver as the display settings start it: the command in SCRNSAVE.EXE
# with /s, from another current folder. It must have opened one of the
# installed phrase files and draw text on black.
lit_share() {
  import -window root "$state/$1.png" &&
    convert "$state/$1.png" -fill white +opaque black -colorspace gray -format '%[fx:mean]' info:
}
saver=
saver_draws_installed_text() {
  local command i share='' opened=''
  command=$(reg_value "$desktop" SCRNSAVE.EXE)
  is "$command" "$module_win" || return 1
  (cd "$drive" && wine_run "$command" /s >/dev/null 2>&1) &
  saver=$!
  for i in $(seq 1 50); do
    sleep 0.2
    [ -n "$opened" ] || opened=$(find /proc/[0-9]*/fd -lname "$install/lu-*.txt" 2>/dev/null | head -1)
    share=$(lit_share saver)
    [ -n "$opened" ] && awk -v s="$share" 'BEGIN { exit !(s > 0 && s < 0.3) }' && break
  done
  [ -n "$opened" ] || { echo "  no installed phrase file was opened" >&2; return 1; }
  awk -v s="$share" 'BEGIN { exit !(s > 0 && s < 0.3) }' || { echo "  lit share $share" >&2; return 1; }
}
end_saver() {
  local i
  xdotool key x
  for i in $(seq 1 50); do
    kill -0 "$saver" 2>/dev/null || break
    sleep 0.2
  done
  kill "$saver" 2>/dev/null
  wait "$saver"
}
# While the saver runs its module cannot be replaced: a silent install says
# so with exit code 2 instead of leaving the old module behind a success.
install_over_running_saver() {
  local code=0
  touch -d 2001-01-01 "$module"
  wine_run "$limited" "$setup" /S >/dev/null 2>&1 || code=$?
  is "$code" 2 && is "$(date -r "$module" +%Y)" 2001
}

old_windows_refused() {  # ERROR_OLD_WIN_VERSION, 1150, of which the exit status keeps a byte
  reg_set 'HKCU\Software\Wine' Version winxp; run_setup /CURRENT; local code=$?
  wine_run reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
  is "$code" $((1150 & 255)) && [ ! -e "$module" ] && ! key_exists "$uninstall_key"
}
check "the setup refuses Windows XP" old_windows_refused

# Only a folder inside Program Files takes the files. A folder any user may
# write, a way out of Program Files, by ".." or by a link, and a network path
# are refused, by the copy under UAC and by the elevated copy on its own, and
# nothing changes (ERROR_DIRECTORY, 267). Through cmd, so that a folder with
# spaces reaches the setup unquoted, as /D wants it.
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
folder_refused() {  # folder, then the command that starts the setup, as Windows reads it
  local code=0
  wine_run cmd /c "$2 /S /D=$1" >/dev/null 2>&1 || code=$?
  is "$code" $((267 & 255)) && [ ! -e "$drive/users/Public/Planted" ] && [ ! -e "$module" ] &&
    ! key_exists "$machine" && ! key_exists "$uninstall_key"
}
ln -s ../users/Public "${install%/*}/Link"
for folder in 'C:\users\Public\Planted' "$install_win\\..\\..\\users\\Public\\Planted" \
  "${install_win%\\*}\\Link\\Planted" '\\localhost\share\Lumora'; do
  check "the setup refuses $folder" folder_refused "$folder" "$(windows_path "$limited") $(windows_path "$setup")"
done
check "the elevated copy refuses a folder by itself" \
  folder_refused 'C:\users\Public\Planted' "$(windows_path "$setup") /ELEVATED"
rm "${install%/*}/Link"

# A folder that exists is taken only when it holds nothing but a former
# installation and only administrators can change it: neither another
# program's folder nor one that looks like Lumora's but every user may write
# (Wine derives that from the mode), by either copy; both stay as they were.
other_app="${install%/*}/Other App" prepared="${install%/*}/Prepared"
mkdir -p "$other_app" "$prepared" "${install%/*}/Impostor"
echo other >"$other_app/Uninstall.exe"; echo other >"$other_app/other.exe"
cp "$stage/lu-english-words-1.txt" "$prepared" && chmod 777 "$prepared"
cp "$limited" "${install%/*}/Impostor/Uninstall.exe"
for folder in 'Other App' Prepared Impostor; do
  for command in "$(windows_path "$limited") $(windows_path "$setup")" "$(windows_path "$setup") /ELEVATED"; do
    check "${command##*\\} refuses the existing folder $folder" folder_refused "${install_win%\\*}\\$folder" "$command"
  done
done
check "and leaves them as they were" is "$(cd "${install%/*}" && { cat "Other App"/*; ls "Other App" Prepared; } | tr '\n' ' ')" \
  "other other Other App: Uninstall.exe other.exe  Prepared: lu-english-words-1.txt "

# A silent install with /CURRENT: every file and value in place, Lumora the
# current screen saver, and the installed saver draws.
check "the silent install succeeds" run_limited "$setup" /S /CURRENT
check "the module and the phrase files are installed" installed_files
check "InstallDir names the install folder" is "$(reg_value "$machine" InstallDir)" "$install_win"
check "the uninstall entry is complete" uninstall_entry
check "the installed saver, started as the display settings do, draws its phrases" saver_draws_installed_text
check "an install while the saver runs stops and leaves the module" install_over_running_saver
end_saver

# The user changes a setting, adds a phrase file and chooses another screen
# saver, and a phrase file of the installation is damaged. An install over
# the first repairs and keeps.
other='C:\windows\system32\other.scr'
reg_set "$settings" PhraseFn mine.txt
echo "A line of my own" >"$install/mine.txt"
reg_set "$desktop" SCRNSAVE.EXE "$other"
: >"$install/lu-english-words-1.txt"
check "a second install succeeds" run_setup
check "the second install restores the installed files" installed_files
check "the second install keeps the user's setting and file" \
  all 'is "$(reg_value "$settings" PhraseFn)" mine.txt' '[ -f "$install/mine.txt" ]'
check "a silent install without /CURRENT leaves the current screen saver" \
  is "$(reg_value "$desktop" SCRNSAVE.EXE)" "$other"

# The silent uninstall removes what was installed and nothing else.
check "the silent uninstall succeeds" run_uninstall
check "the uninstall removes the module, the phrase files and the uninstaller" \
  all '[ ! -e "$module" ]' '[ ! -e "$install/Uninstall.exe" ]' \
  '! ls "$install"/lu-*.txt >/dev/null 2>&1'
check "the uninstall keeps the user's phrase file, settings and screen saver" \
  all '[ -f "$install/mine.txt" ]' 'is "$(reg_value "$settings" PhraseFn)" mine.txt' \
  'is "$(reg_value "$desktop" SCRNSAVE.EXE)" "$other"'
check "the uninstall removes InstallDir" all '! key_exists "$machine"'

# An interactive install taken through with Return: the finish page's offer
# to make Lumora the current screen saver is ticked.
interactive_install() {
  local i
  wine_run "$limited" "$setup" >/dev/null 2>&1 &
  local setup_pid=$!
  xdotool search --sync --onlyvisible --name "Lumora Screensaver Setup" >/dev/null
  xdotool key Return sleep 1 key Return
  for i in $(seq 1 100); do
    [ -f "$install/Uninstall.exe" ] && [ -n "$(reg_value "$uninstall_key" EstimatedSize)" ] && break
    sleep 0.1
  done
  sleep 1
  xdotool key Return
  for i in $(seq 1 100); do
    kill -0 "$setup_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$setup_pid" 2>/dev/null && { echo "  the setup did not finish" >&2; return 1; }
  wait "$setup_pid"
}
rm -f "$install/mine.txt"
check "an interactive install finishes with its defaults" interactive_install
check "and makes Lumora the current screen saver" is "$(reg_value "$desktop" SCRNSAVE.EXE)" "$module_win"

# Without a file of the user's the folder goes, and the screen saver that
# names Lumora is reset, after the uninstall entry has gone.
screen_saver_reset() {
  local i; for i in $(seq 1 50); do [ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] && return; sleep 0.2; done; return 1
}
# The elevated part of the uninstall is the installed Uninstall.exe, run in
# place, and no copy in the user's folders: the command lines of the
# elevated copies are taken while it runs.
watch_elevated() { while :; do pgrep -af -- /ELEVATED; sleep 0.02; done >"$state/elevated"; }
watch_elevated &
watcher=$!
check "the second uninstall succeeds" run_uninstall limited
kill "$watcher"
check "its elevated part ran from the install folder" eval \
  'grep -qF "$install_win\\Uninstall.exe" "$state/elevated" && ! grep -qi "users" "$state/elevated"'
check "the uninstall removes the empty folder and resets the screen saver" \
  all '[ ! -e "$install" ]' screen_saver_reset

# A new folder two levels deep, both made by the elevated copy with an access
# list of their own (Wine keeps of it the mode: nothing for others), with
# TEMP and TMP at a folder of the user's: no copy puts a DLL there. Each
# elevated uninstall hands over to a folder of a random name of its own.
nested_win="${install_win%\\*}\\Kestrane\\Lumora" nested="${install%/*}/Kestrane/Lumora"
mkdir -p "$drive/users/Public/Temp"
watch_dlls() { while :; do find "$drive/users/Public/Temp" -iname '*.dll'; sleep 0.05; done >"$state/dlls"; }
watch_dlls &
watcher=$!
user_temp='set TEMP=C:\users\Public\Temp&& set TMP=C:\users\Public\Temp&&'
check "an install into a new folder two levels deep succeeds" \
  wine_run cmd /c "$user_temp $(windows_path "$limited") $(windows_path "$setup") /S /D=$nested_win"
check "both levels are made with their own access list" \
  is "$(stat -c %A "${nested%/*}" "$nested" | tr '\n' ' ')" "drwxr-x--- drwxr-x--- "
echo "not a phrase file" >"$nested/notes.dat"
check "an install into the recorded folder succeeds, whatever it holds" \
  wine_run cmd /c "$user_temp $(windows_path "$limited") $(windows_path "$setup") /S /D=$nested_win"
check "its uninstall succeeds" run_uninstall limited "$nested_win"
kill "$watcher"
check "no DLL appeared in the user's temporary folder, no plugins' folder stayed" \
  all '[ ! -s "$state/dlls" ]' '! ls "$drive/windows" | grep -qiE "^ns.*[.]tmp$"'
check "two uninstalls handed over to two folders of random names" \
  is "$(ls "$drive/windows/temp" | grep -cxE 'Lumora-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}')" 2

# Signed with a throw-away certificate: the module, the uninstaller as the
# install leaves it, and the setup (once, the same for both prefixes).
signed_build() {
  local top; top=$(cd "$(dirname "$0")/.." && pwd)
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$state/key.pem" -out "$state/cert.pem" \
    -subj /CN=Lumora-test -days 2 2>/dev/null &&
    openssl pkcs12 -export -inkey "$state/key.pem" -in "$state/cert.pem" -out "$state/sign.pfx" -passout pass:test-only &&
    cmake -S "$top" -B "$state/signed" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
      -DLUMORA_SIGN_PFX="$state/sign.pfx" >/dev/null &&
    LUMORA_SIGN_PASSWORD=test-only cmake --build "$state/signed" --target installer >/dev/null
}
signed() { osslsigncode verify -in "$1" -CAfile "$state/cert.pem" 2>&1 | grep -q '^Signature verification: ok'; }
if [ "$arch" = win32 ]; then
  check "a build given a certificate succeeds" signed_build
  check "and signs the module, the uninstaller and the setup" all 'wine_run "$state/signed/Lumora-1.33-setup.exe" /S' \
    'signed "$module"' 'signed "$install/Uninstall.exe"' 'signed "$state/signed/Lumora-1.33-setup.exe"'
  check "a wrong password fails the build of the setup" eval '! (rm "$state/signed/Lumora-1.33-setup.exe" &&
    LUMORA_SIGN_PASSWORD=wrong cmake --build "$state/signed" --target installer >/dev/null 2>&1)'
fi

checks_done
