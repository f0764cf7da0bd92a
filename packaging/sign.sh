#!/bin/sh
# Signs Windows programs, DLLs and Windows Installer packages in place (Authenticode, SHA-256) with
# the certificate and key of a PKCS#12 file.
#   sign.sh PFX PASSWORD FILE...
set -eu
pfx=$1 password=$2
shift 2
for file in "$@"; do
  osslsigncode sign -pkcs12 "$pfx" -pass "$password" -h sha256 -n "QOR for Outlook" \
    -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
done
