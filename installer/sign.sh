#!/usr/bin/env bash
# Signs a Windows program in place, with SHA-256:
#   sign.sh <osslsigncode> <key.pfx> <program>
# The key's password comes from LUMORA_SIGN_PASSWORD through a pipe, so that
# no command line shows it; a key without a password needs none.
set -eu
tool=$1 pfx=$2 program=$3
password=()
[ -z "${LUMORA_SIGN_PASSWORD-}" ] || password=(-readpass -)
rm -f "$program.signed"
printf '%s' "${LUMORA_SIGN_PASSWORD-}" |
  "$tool" sign -pkcs12 "$pfx" "${password[@]}" -h sha256 -n "Lumora Screensaver" \
    -in "$program" -out "$program.signed" >/dev/null
mv -f "$program.signed" "$program"
