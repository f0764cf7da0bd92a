#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/memory/memory_outlook.h"

namespace qor::bench {

// A bounce naming one address of its own and one shared with the 99 messages around it, with the
// usual postmaster noise that the scan meets again and again.
inline std::string BounceBody(int n) {
  const std::string user = "user" + std::to_string(n) + "@example.com";
  const std::string list = "list" + std::to_string(n / 100) + "@lists.example.org";
  return "From: Mail Delivery Subsystem <mailer-daemon@relay.example.net>\r\n"
         "Subject: Undelivered Mail Returned to Sender\r\n\r\n"
         "This is the mail system at host relay.example.net.\r\n"
         "I'm sorry to have to inform you that your message could not be delivered.\r\n\r\n<" +
         user + ">: host mx.example.com said: 550 5.1.1 User unknown\r\nFinal-Recipient: rfc822; " + user +
         "\r\nOriginal-Recipient: rfc822;" + list + "\r\nAction: failed\r\nStatus: 5.1.1\r\n";
}

// "Mailbox\Bounces" holding `messages` generated bounces. Inline, so every benchmark of the
// program scans the very same mailbox of a size, built once.
inline std::shared_ptr<host::memory::MemoryOutlook> MailboxOf(int messages) {
  static std::map<int, std::shared_ptr<host::memory::MemoryOutlook>> mailboxes;
  auto& outlook = mailboxes[messages];
  if (!outlook) {
    outlook = host::memory::MemoryOutlook::Create();
    const auto bounces = outlook->AddStore("Mailbox")->AddFolder("Bounces", host::ItemType::Mail);
    for (int n = 0; n < messages; ++n) bounces->AddMail(BounceBody(n));
  }
  return outlook;
}

}  // namespace qor::bench
