#!/bin/sh
# packaging/sign.sh with a throwaway self-signed certificate on copies of the build's DLL, qorhost and
# package: each copy fails osslsigncode's check before and passes it after, checked against that
# certificate (the signature, not a chain of trust).
#   signing_test.sh SIGN_SCRIPT WORK FILE...
set -eu
sign=$1 work=$2
shift 2
rm -rf "$work" && mkdir -p "$work"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 1 \
  -subj "/CN=QOR for Outlook test signing" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/test.pfx" -passout pass:throwaway
for file in "$@"; do
  copy="$work/$(basename "$file")"
  cp "$file" "$copy"
  if osslsigncode verify -CAfile "$work/cert.pem" -in "$copy" >/dev/null 2>&1; then
    echo "signing_test: $copy passes the check before it is signed" >&2
    exit 1
  fi
  sh "$sign" "$work/test.pfx" throwaway "$copy"
  if ! osslsigncode verify -CAfile "$work/cert.pem" -in "$copy" > "$copy.verify" 2>&1; then
    cat "$copy.verify" >&2
    echo "signing_test: the signature of $copy does not verify" >&2
    exit 1
  fi
  echo "signed and verified: $(basename "$file")"
done
