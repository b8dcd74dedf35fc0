#!/bin/sh
# Signs one Windows program in place with osslsigncode: SHA-256, with the
# certificate GLIMMERBOX_SIGN_CERT and key GLIMMERBOX_SIGN_KEY (PEM files),
# signed at GLIMMERBOX_SIGN_TIME (Unix time), so that the same file signed
# twice gives the same bytes. GLIMMERBOX_SIGN_TSA, when set, names a timestamp
# server, whose countersignature differs on every run.
# Usage: sign.sh FILE
set -eu
file=$1
set -- sign -h sha256 -certs "$GLIMMERBOX_SIGN_CERT" -key "$GLIMMERBOX_SIGN_KEY" \
    -n Glimmerbox -time "$GLIMMERBOX_SIGN_TIME"
if [ -n "${GLIMMERBOX_SIGN_TSA:-}" ]; then
    set -- "$@" -ts "$GLIMMERBOX_SIGN_TSA"
fi
osslsigncode "$@" -in "$file" -out "$file.signed" >"$file.log" 2>&1 ||
    { cat "$file.log"; rm -f "$file.log" "$file.signed"; exit 1; }
rm -f "$file.log"
mv "$file.signed" "$file"
