#!/bin/sh
# Installs the Debian packages the builds need, when any is missing (as root). With "fuzz", also
# what the libFuzzer build needs: clang and its runtime libraries.
set -eu
packages="cmake ninja-build g++ make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools libwine-dev
  wine wine64 wine32:i386 fonts-wine xvfb xauth imagemagick googletest nlohmann-json3-dev libcli11-dev libbenchmark-dev
  python3 wixl msitools osslsigncode openssl"
if [ "${1:-}" = fuzz ]; then
  packages="$packages clang libclang-rt-14-dev"
fi
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and only root can install them:$missing" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine (for 32-bit Outlook's add-in) comes from Debian's i386 architecture.
case "$missing" in
  *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
esac
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $missing
