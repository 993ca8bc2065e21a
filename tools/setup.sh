#!/usr/bin/env bash
# Installs what building and testing the saver needs on Debian, and only what is missing.
# Quick when everything is there: it asks dpkg first and touches apt only for missing packages.
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 wine64 fonts-wine fonts-dejavu-core fonts-dejavu-extra
  xvfb xdotool imagemagick x11-utils
  xserver-xephyr libxinerama1:i386
  googletest
  clang libclang-rt-dev
  fortune-mod fortunes-min
  fonts-wqy-microhei
  nsis zip unzip libxml2-utils
  osslsigncode openssl
  locales
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  echo "setup: done"
fi

# Wine takes the user's language from the locale, and only from one the C
# library knows: the German tests and "LANG=de_DE.UTF-8 tools/run.sh" need it.
if ! locale -a 2>/dev/null | grep -qx 'de_DE.utf8'; then
  echo "setup: making the locale de_DE.UTF-8"
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
