#!/bin/sh
# Times what a user waits for in Outlook with the add-in loaded, under Wine on a virtual screen:
# qorhost's start to the explorer shown, the folder menu, "QOR Agent" to the wizard shown, and the
# wizard's scan through COM of the sample's bounce folder and of generated folders, with the calls
# the add-in made on Outlook's objects per message; then 10,000 bounces matched against 5,000
# contacts with notes added. Usage: bench-outlook.sh WINDOWS_BUILD BENCH_BUILD
set -eu
. "$(dirname "$0")/qorhost-session.sh"
bench=$(cd "$2" && pwd)

register
for messages in sample 10000; do
  mailbox="$source/samples/mailbox.json"
  if [ "$messages" != sample ]; then
    mailbox="$bench/bounces-$messages.json"
    [ -f "$mailbox" ] || "$bench/bench/qor_bounce_mailbox" "$messages" "$mailbox"
  fi
  for version in 11 16; do
    echo "== Outlook $version, $messages"
    run "$qorhost" --mailbox "Z:$mailbox" --version "$version" --window --timings \
      --script "Z:$source/bench/outlook-timing.script" 2>&1 | grep -E '^(explorer shown|timing)'
  done
done

mailbox="$bench/bounces-10000-contacts-5000.json"
[ -f "$mailbox" ] || "$bench/bench/qor_bounce_mailbox" 10000 "$mailbox" 5000
for version in 11 16; do
  echo "== Outlook $version, 10000 bounces matched against 5000 contacts, notes added"
  run "$qorhost" --mailbox "Z:$mailbox" --version "$version" --window --timings \
    --script "Z:$source/bench/outlook-contacts.script" 2>&1 | grep -E '^(timing|lblProgress)'
done
unregister
