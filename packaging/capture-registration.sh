#!/bin/sh
# The registry rows of the package: what qorOutlook.dll itself writes when registered for one user
# (regsvr32 /n /i:user), captured in a Wine prefix of its own where qorhost counts as Outlook.
# The DLL is registered from a folder with blanks, as it will be installed, so that the short path it
# writes for InprocServer32 is told from the long one it writes elsewhere.
#   capture-registration.sh WINE_RUN PREFIX QORHOST DLL OUT.wxi
set -eu
wine_run=$1 prefix=$2 qorhost=$3 dll=$4 out=$5
here=$(dirname "$0")
export QOR_WINEPREFIX="$prefix"
rm -rf "$prefix"
"$wine_run" "$qorhost" /regserver
folder="$prefix/drive_c/qor capture"
mkdir -p "$folder"
cp "$dll" "$folder/qorOutlook.dll"
WINEPREFIX="$prefix" wineserver -w
python3 "$here/wine_registry.py" snapshot "$prefix" "$prefix/before.json"
"$wine_run" regsvr32 /s /n /i:user 'C:\qor capture\qorOutlook.dll'
WINEPREFIX="$prefix" wineserver -w
python3 "$here/wine_registry.py" wix "$prefix/before.json" "$prefix" --file 'C:\qor capture\qorOutlook.dll' \
  --dir 'C:\qor capture\' "$out"
rm -rf "$prefix"
