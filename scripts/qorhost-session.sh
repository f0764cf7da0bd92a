# What the scripts running the add-in in qorhost share; sourced with the Windows build folder as
# the first argument. Everything runs on a virtual screen, in a Wine prefix of its own inside that
# build folder (the one `make outlook` uses too).
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
export QOR_X11_WINEPREFIX="$build/wineprefix-demo"
qorhost="$build/sim/qorhost/qorhost.exe"
addin="$build/src/addin/qorOutlook.dll"

run() { "$build/wine-x11-run.sh" "$@"; }

# qorhost.exe registered as Outlook, then qorOutlook.dll with regsvr32; and both undone.
register() {
  run "$qorhost" /regserver
  run regsvr32 /s "$addin"
}
unregister() {
  run regsvr32 /u /s "$addin"
  run "$qorhost" /unregserver
}
