#!/usr/bin/env bash
# What ships, looked at from outside:
#   release_files.sh <setup.exe> <release.zip> <stage dir> <lumora.ico> <windres> <objdump>
# The setup program is a 32-bit Windows program with the saver's icon and a
# version resource; the zip holds the stripped module, the phrase files and
# the text for Windows users.
set -u
setup=$1 release=$2 stage=$3 icon=$4 windres=$5 objdump=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/../tests/checks.sh"

# The images of every RT_ICON resource, one line each, sorted.
icon_images() {  # file windres can read
  "$windres" -i "$1" -O rc 2>/dev/null |
    awk '/RT_ICON \*\// { on = 1; data = ""; next }
         on && /^END/ { on = 0; print data; next }
         on && /^  0x/ { data = data $0 }' | sort
}
same_icon() {
  printf '1 ICON "%s"\n' "$icon" >"$work/icon.rc"
  "$windres" -i "$work/icon.rc" -o "$work/icon.res" || return 1
  icon_images "$work/icon.res" >"$work/ours"
  icon_images "$setup" >"$work/setup"
  [ -s "$work/ours" ] && cmp -s "$work/ours" "$work/setup" ||
    { echo "  the setup's icon images differ from $icon" >&2; return 1; }
}
version_resource() {
  local rc
  rc=$("$windres" -i "$setup" -O rc 2>/dev/null)
  grep -q 'FILEVERSION 1, 33, 0, 0' <<<"$rc" &&
    grep -q 'VALUE "ProductName", "Lumora Screensaver"' <<<"$rc" &&
    grep -q 'VALUE "CompanyName", "Kestrane"' <<<"$rc" &&
    grep -q 'VALUE "ProductVersion", "1.33"' <<<"$rc" ||
    { echo "  version resource incomplete:" >&2; grep VALUE <<<"$rc" >&2; return 1; }
}

check "the setup is a 32-bit Windows program" \
  bash -c '"$0" -p "$1" | grep -q "^Magic.*(PE32)$"' "$objdump" "$setup"
check "the setup carries the saver's icon" same_icon
check "the setup has a version resource for 1.33" version_resource

zip_lists() {
  local names
  names=$(unzip -Z1 "$release" | sort | tr '\n' ' ')
  [ "$names" = "Lumora-Readme.txt Lumora.scr lu-deutsche-100-worte.txt lu-deutsche-zitate-1.txt lu-english-fortunes-1.txt lu-english-words-1.txt " ] ||
    { echo "  the zip holds: $names" >&2; return 1; }
}
zip_module_stripped() {
  unzip -p "$release" Lumora.scr >"$work/Lumora.scr" &&
    cmp -s "$work/Lumora.scr" "$stage/Lumora.scr" &&
    "$objdump" -h "$work/Lumora.scr" | grep -q ' \.text ' &&
    ! "$objdump" -h "$work/Lumora.scr" | grep -q ' \.debug'
}
readme_has_crlf() {
  unzip -p "$release" Lumora-Readme.txt >"$work/readme" &&
    [ "$(grep -c $'\r$' "$work/readme")" -eq "$(wc -l <"$work/readme")" ]
}
check "the zip holds the module, the four phrase files and the readme" zip_lists
check "the zipped module is the stripped one" zip_module_stripped
check "the readme has Windows line ends" readme_has_crlf

checks_done
