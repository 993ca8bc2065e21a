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
module=$stage/Lumora.scr
both() { "$1" "$setup" && "$1" "$module"; }

# The images of every RT_ICON resource, one line each, sorted.
icon_images() {  # file windres can read
  "$windres" -i "$1" -O rc 2>/dev/null |
    awk '/RT_ICON \*\// { on = 1; data = ""; next }
         on && /^END/ { on = 0; print data; next }
         on && /^  0x/ { data = data $0 }' | sort
}
same_icon() {  # program
  printf '1 ICON "%s"\n' "$icon" >"$work/icon.rc"
  "$windres" -i "$work/icon.rc" -o "$work/icon.res" || return 1
  icon_images "$work/icon.res" >"$work/ours"
  icon_images "$1" >"$work/setup"
  [ -s "$work/ours" ] && cmp -s "$work/ours" "$work/setup" ||
    { echo "  the icon images of $1 differ from $icon" >&2; return 1; }
}
transparent_corners() {  # of the rounded tile, in each of the five images
  is "$(convert "$icon" -format '%[fx:max(max(p{0,0}.a,p{w-1,0}.a),max(p{0,h-1}.a,p{w-1,h-1}.a))] ' info:)" "0 0 0 0 0 "
}
version_resource() {  # program: every field its properties show, in each of its languages
  local rc n
  rc=$("$windres" -i "$1" -O rc 2>/dev/null)
  grep -q 'FILEVERSION 1, 33, 0, 0' <<<"$rc" &&
    grep -q 'VALUE "ProductName", "Lumora Screensaver"' <<<"$rc" &&
    grep -q 'VALUE "CompanyName", "Kestrane"' <<<"$rc" &&
    grep -q 'VALUE "ProductVersion", "1.33"' <<<"$rc" &&
    grep -q 'VALUE "LegalCopyright", L\?"Copyright \\251 20[0-9-]* Kestrane"' <<<"$rc" &&
    n=$(grep -cE 'VALUE "(FileDescription|FileVersion|OriginalFilename|Translation)", .' <<<"$rc") &&
    [ "$n" -gt 0 ] && [ $((n % 4)) = 0 ] ||
    { echo "  version resource incomplete:" >&2; grep VALUE <<<"$rc" >&2; return 1; }
}

check "the setup is a 32-bit Windows program" \
  bash -c '"$0" -p "$1" | grep -q "^Magic.*(PE32)$"' "$objdump" "$setup"
manifest_well_formed() {  # as the resource holds it, from the strings windres prints
  "$windres" -i "$module" -O rc 2>/dev/null | awk '/RT_MANIFEST/ { on = 1; next } on && /^END/ { exit } on && /^  "/' |
    sed -e 's/^  "//' -e 's/"$//' -e 's/""/"/g' | tr -d '\n' | sed 's/\\n/\n/g' >"$work/manifest.xml" &&
    grep -q 'requestedExecutionLevel' "$work/manifest.xml" && xmllint --noout "$work/manifest.xml"
}
made_for_vista() {  # the header asks for it; every DLL imported comes with it
  local pe; pe=$("$objdump" -p "$module")
  grep -qE '^MajorSubsystemVersion[[:space:]]+6$' <<<"$pe" && is "$(awk '/DLL Name:/ { print tolower($3) }' <<<"$pe" |
    grep -vxE '(kernel32|user32|gdi32|advapi32|comdlg32|comctl32|shell32|msvcrt|ole32|imm32|version|usp10)\.dll')" ""
}
check "the setup and the module carry the saver's icon" both same_icon
check "every image of the icon has transparent corners" transparent_corners
check "the setup and the module have a full version resource for 1.33" both version_resource
check "the module's manifest is well-formed XML" manifest_well_formed
check "the module asks for Vista and imports only DLLs of a stock Windows" made_for_vista

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
