#!/bin/sh
# make dist: release builds for 32- and 64-bit Outlook and what ships from them, in build/dist:
#   qorOutlook-VERSION-x86.msi, qorOutlook-VERSION-x64.msi  the installers (per user; ALLUSERS=1 per machine)
#   qorOutlook-VERSION.zip                                  both DLLs and the help page
#   x86/, x64/                                              qorhost.exe, and the DLL's debug information
# With SIGN_PFX (a PKCS#12 file) and SIGN_PASSWORD set, the DLLs, the qorhost programs and the packages
# are signed; without them nothing is.
set -eu
cd "$(dirname "$0")/.."
dist=build/dist
rm -rf "$dist"
mkdir -p "$dist"

cmake --preset release-x64 >/dev/null
cmake --build --preset release-x64
# A machine that runs no 32-bit programs cannot capture the 32-bit DLL's registration: it is the same
# as the 64-bit DLL's, which the 32-bit build then takes.
cmake --preset release-x86 -DQOR_REGISTRATION_WXI="$PWD/build/release-x64/packaging/registration.wxi" >/dev/null
cmake --build --preset release-x86

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release-x64/CMakeCache.txt)
sign() {
  [ -n "${SIGN_PFX:-}" ] && sh packaging/sign.sh "$SIGN_PFX" "${SIGN_PASSWORD:-}" "$@"
  return 0
}

for arch in x86 x64; do
  build=build/release-$arch
  stage=$dist/stage-$arch
  triplet=$([ $arch = x86 ] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32)
  mkdir -p "$stage/files" "$dist/$arch"
  cp "$build/packaging/qorOutlook.wxs" "$build/packaging/registration.wxi" "$stage/"
  cp "$build/src/addin/qorOutlook.dll" "$build/src/addin/qorOutlook-help.html" "$stage/files/"
  cp "$build/src/addin/qorOutlook.dll.debug" "$dist/$arch/"
  "$triplet-objcopy" --strip-debug "$build/sim/qorhost/qorhost.exe" "$dist/$arch/qorhost.exe"
  sign "$stage/files/qorOutlook.dll" "$dist/$arch/qorhost.exe"
  sh packaging/build-package.sh wixl $arch "$version" "$stage/qorOutlook.wxs" "$PWD/$dist/qorOutlook-$version-$arch.msi"
  sign "$dist/qorOutlook-$version-$arch.msi"
  mkdir -p "$dist/zip/$arch"
  cp "$stage/files/qorOutlook.dll" "$dist/zip/$arch/"
done
cp src/addin/qorOutlook-help.html "$dist/zip/"
(cd "$dist/zip" && cmake -E tar cf "../qorOutlook-$version.zip" --format=zip x86 x64 qorOutlook-help.html)
rm -rf "$dist/zip" "$dist"/stage-*

if [ -n "${SIGN_PFX:-}" ]; then
  echo "dist: signed with $SIGN_PFX"
else
  echo "dist: nothing is signed (set SIGN_PFX and SIGN_PASSWORD to sign)"
fi
ls -l "$dist"
