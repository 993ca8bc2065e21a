#!/usr/bin/env bash
# Signs a Windows program in place, with SHA-256:
#   sign.sh <osslsigncode> <key.pfx> <program>
# The key's password comes from LUMORA_SIGN_PASSWORD through a pipe, so that
# no command line shows it.
set -eu
tool=$1 pfx=$2 program=$3
rm -f "$program.signed"
printf '%s' "${LUMORA_SIGN_PASSWORD-}" |
  "$tool" sign -pkcs12 "$pfx" -readpass - -h sha256 -n "Lumora Screensaver" \
    -in "$program" -out "$program.signed" >/dev/null
mv -f "$program.signed" "$program"
