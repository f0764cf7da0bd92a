// The folder scan over generated folders: the time per message must not grow with the folder.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "engine/folder_scan.h"
#include "host/memory/memory_outlook.h"

namespace {

using qor::host::memory::MemoryOutlook;

// A bounce naming one address of its own and one shared with the 99 messages around it, with the
// usual postmaster noise that the scan meets again and again.
std::string BounceBody(int n) {
  const std::string user = "user" + std::to_string(n) + "@example.com";
  const std::string list = "list" + std::to_string(n / 100) + "@lists.example.org";
  return "From: Mail Delivery Subsystem <mailer-daemon@relay.example.net>\r\n"
         "Subject: Undelivered Mail Returned to Sender\r\n\r\n"
         "This is the mail system at host relay.example.net.\r\n"
         "I'm sorry to have to inform you that your message could not be delivered.\r\n\r\n<" +
         user + ">: host mx.example.com said: 550 5.1.1 User unknown\r\nFinal-Recipient: rfc822; " + user +
         "\r\nOriginal-Recipient: rfc822;" + list + "\r\nAction: failed\r\nStatus: 5.1.1\r\n";
}

std::shared_ptr<MemoryOutlook> MailboxOf(int messages) {
  static std::map<int, std::shared_ptr<MemoryOutlook>> mailboxes;
  auto& outlook = mailboxes[messages];
  if (!outlook) {
    outlook = MemoryOutlook::Create();
    const auto bounces = outlook->AddStore("Mailbox")->AddFolder("Bounces", qor::host::ItemType::Mail);
    for (int n = 0; n < messages; ++n) bounces->AddMail(BounceBody(n));
  }
  return outlook;
}

void BM_ScanFolder(benchmark::State& state) {
  const int messages = static_cast<int>(state.range(0));
  const auto outlook = MailboxOf(messages);
  qor::engine::TEmailData data;
  qor::engine::NullProgress progress;
  for (auto _ : state) {
    qor::engine::GetEmailAddressesFromFolder(*outlook, "Mailbox\\Bounces", data, progress);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetComplexityN(messages);
  state.SetItemsProcessed(state.iterations() * messages);
  state.counters["addresses"] = static_cast<double>(data.size());
}
BENCHMARK(BM_ScanFolder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
