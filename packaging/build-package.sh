#!/bin/sh
# Builds the package from its WiX source (files staged in files/ beside it).
#   build-package.sh WIXL ARCH VERSION SOURCE.wxs OUT.msi
# wixl writes HKMU ("the user's or the machine's, as the installation goes") as root 4, which
# Windows Installer does not know; the table is mended to -1, the value that means it.
set -eu
wixl=$1 arch=$2 version=$3 source=$4 out=$5
mkdir -p "$(dirname "$out")"
cd "$(dirname "$source")"
"$wixl" -a "$arch" -D Version="$version" -o "$out.tmp" "$(basename "$source")"
msibuild "$out.tmp" -q "UPDATE Registry SET Root = -1 WHERE Root = 4"
mv "$out.tmp" "$out"
