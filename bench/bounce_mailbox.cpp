// Writes a mailbox file whose "Mailbox\Bounces" holds N generated bounces, shown by the explorer:
// the folder `make bench-outlook` scans through COM in qorhost's window.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "generated_mailbox.h"
#include "host/memory/mailbox_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: qor_bounce_mailbox MESSAGES FILE\n";
    return 2;
  }
  try {
    const auto outlook = qor::bench::MailboxOf(std::stoi(argv[1]));
    outlook->SetActiveExplorerFolder(outlook->Stores().front()->FindSubfolder("Bounces"));
    qor::host::memory::SaveMailbox(*outlook, argv[2]);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "qor_bounce_mailbox: " << error.what() << '\n';
    return 1;
  }
}
