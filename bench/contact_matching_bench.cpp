// Contact matching over generated contact folders: one restriction per address (addresses ×
// contacts) against one pass over the folder and a lookup per address (addresses + contacts).
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "engine/contact_matching.h"
#include "generated_contacts.h"
#include "host/memory/memory_outlook.h"
#include "null_services.h"

namespace {

using qor::engine::ContactMatching;

// "Mailbox\Contacts" with `contacts` generated contacts.
std::shared_ptr<qor::host::memory::MemoryOutlook> ContactsOf(int contacts) {
  static std::map<int, std::shared_ptr<qor::host::memory::MemoryOutlook>> outlooks;
  auto& outlook = outlooks[contacts];
  if (!outlook) {
    outlook = qor::host::memory::MemoryOutlook::Create();
    qor::bench::AddContacts(*outlook->AddStore("Mailbox")->AddFolder("Contacts", qor::host::ItemType::Contact),
                            contacts);
  }
  return outlook;
}

void BM_ContactMatching(benchmark::State& state) {
  const int addresses = static_cast<int>(state.range(0));
  const int contacts = static_cast<int>(state.range(1));
  const auto matching = static_cast<ContactMatching>(state.range(2));
  const auto outlook = ContactsOf(contacts);
  qor::bench::NullServices platform("/nonexistent");
  qor::engine::NullProgress progress;
  qor::engine::TEmailData table;
  for (int n = 0; n < addresses; ++n) table.push_back({qor::bench::BouncedAddress(n), "M", "", "N"});
  qor::engine::RunOptions options;
  options.scanContactFolders = true;
  options.contactFolders = {"Mailbox\\Contacts"};

  qor::engine::TEmailData data;
  for (auto _ : state) {
    data = table;
    qor::engine::EngineContext context{*outlook, data, progress, platform.services, ""};
    qor::engine::GetLinkedContacts(context, options, matching);
    benchmark::DoNotOptimize(data.data());
  }
  std::int64_t linked = 0;
  for (const auto& entry : data) linked += entry[qor::engine::kLinkedContacts].empty() ? 0 : 1;
  state.counters["linked"] = static_cast<double>(linked);
}
// Arguments: addresses, contacts, 0 one pass / 1 one restriction per address. The restriction is
// left out where it would take minutes.
BENCHMARK(BM_ContactMatching)
    ->Args({1000, 1000, 0})
    ->Args({1000, 1000, 1})
    ->Args({10000, 5000, 0})
    ->Args({10000, 5000, 1})
    ->Args({100000, 20000, 0})
    ->Unit(benchmark::kMillisecond);
// A handful of addresses against a large folder: where one restriction per address may be cheaper.
BENCHMARK(BM_ContactMatching)->ArgsProduct({{1, 2, 4, 8}, {20000}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
