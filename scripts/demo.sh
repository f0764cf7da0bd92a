#!/bin/sh
# The main job: QOR for Outlook in the Outlook stand-in, as a user meets it. In a Wine prefix of
# its own inside the build folder, qorhost.exe registers as Outlook and qorOutlook.dll with
# regsvr32; then, on a virtual screen, Outlook 2003, 2007 and 365 each open the sample mailbox, and
# scripts/demo.script right-clicks the bounce folder, opens the wizard from the folder menu, runs
# it through every page and closes Outlook. What changed is printed; the pictures, the output and
# the files each session left are in OUT/VERSION. Usage: demo.sh WINDOWS_BUILD_DIR OUT_DIR
set -eu
. "$(dirname "$0")/qorhost-session.sh"
mkdir -p "$2"
out=$(cd "$2" && pwd)
exclusions="$QOR_X11_WINEPREFIX/drive_c/users/Public/Documents/QOR for Outlook/qorexclusions.dat"

echo "== registering qorhost.exe as Outlook, and qorOutlook.dll with regsvr32"
register

for version in 11 12 16; do
  dir="$out/$version"
  rm -rf "$dir" && mkdir -p "$dir"
  rm -f "$exclusions"  # each session starts as a new user's first
  echo "== Outlook $version: right-click Mailbox\\Bounces, QOR for Outlook > QOR Agent, the wizard's five pages"
  (cd "$dir" && run "$qorhost" --mailbox "Z:$source/samples/mailbox.json" --version "$version" --window \
     --script "Z:$source/scripts/demo.script" --save after.json > session.out) || {
    echo "demo: the session of Outlook $version failed; its output is in $dir/session.out" >&2
    exit 1
  }
  cp "$exclusions" "$dir/qorexclusions.dat"
  grep -E '^(menu|txtEmailFolder|lstEmailAddressesExcluded|lstContactFolders|lblProgress|message)' "$dir/session.out"
  echo "-- what changed in the mailbox:"
  python3 "$source/scripts/mailbox_changes.py" "$source/samples/mailbox.json" "$dir/after.json"
  echo "-- export file: $(($(wc -l < "$dir/export.txt") - 1)) addresses; the first lines:"
  head -n 4 "$dir/export.txt" | tr -d '\r'
  echo "-- exclusion file: $(tr -d '\r' < "$dir/qorexclusions.dat")"
  echo "-- pictures: $(cd "$dir" && ls ./*.png | tr '\n' ' ')"
done

echo "== unregistering"
unregister
echo "== done: $out"
