// The folder scan over generated folders: the time per message must not grow with the folder.
#include <benchmark/benchmark.h>

#include "engine/folder_scan.h"
#include "generated_mailbox.h"

namespace {

using qor::bench::MailboxOf;

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

// The same scan telling what each address is there for, as the wizard's scan does: the cost of
// the bounce classifier is the difference to BM_ScanFolder.
void BM_ScanFolderClassified(benchmark::State& state) {
  const int messages = static_cast<int>(state.range(0));
  const auto outlook = MailboxOf(messages);
  qor::engine::TEmailData data;
  qor::engine::BounceReport report;
  qor::engine::NullProgress progress;
  for (auto _ : state) {
    qor::engine::GetEmailAddressesFromFolder(*outlook, "Mailbox\\Bounces", data, progress, nullptr, &report);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetComplexityN(messages);
  state.SetItemsProcessed(state.iterations() * messages);
  state.counters["failed"] = static_cast<double>(report.FailedMessages().size());
}
BENCHMARK(BM_ScanFolderClassified)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
