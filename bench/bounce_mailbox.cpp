// Writes a mailbox file whose "Mailbox\Bounces" holds N generated bounces, shown by the explorer,
// and with CONTACTS a "Mailbox\Contacts" of generated contacts: the folders `make bench-outlook`
// scans and matches through COM in qorhost's window.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "generated_contacts.h"
#include "generated_mailbox.h"
#include "host/memory/mailbox_file.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: qor_bounce_mailbox MESSAGES FILE [CONTACTS]\n";
    return 2;
  }
  try {
    const auto outlook = qor::bench::MailboxOf(std::stoi(argv[1]));
    const auto mailbox = outlook->Stores().front();
    if (argc == 4)
      qor::bench::AddContacts(*mailbox->AddFolder("Contacts", qor::host::ItemType::Contact), std::stoi(argv[3]));
    outlook->SetActiveExplorerFolder(mailbox->FindSubfolder("Bounces"));
    qor::host::memory::SaveMailbox(*outlook, argv[2]);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "qor_bounce_mailbox: " << error.what() << '\n';
    return 1;
  }
}
