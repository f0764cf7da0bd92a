// Extraction speed on real bounce text, next to the cheapest possible pass over the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "engine/extract_emails.h"
#include "host/memory/mailbox_file.h"
#include "host/memory/memory_outlook.h"

namespace {

// The bodies of the bundled sample's bounces, repeated to about 4 MB.
const std::string& BounceText() {
  static const std::string text = [] {
    const auto outlook = qor::host::memory::LoadMailbox(QOR_SOURCE_DIR "/samples/mailbox.json");
    const auto items = outlook->GetNamespace("MAPI")->Folders()->Item("Mailbox")->Folders()->Item("Bounces")->Items();
    std::string bodies;
    for (int i = 1; i <= items->Count(); ++i) bodies += items->Item(i)->Body();
    std::string repeated;
    while (repeated.size() < (4u << 20)) repeated += bodies;
    return repeated;
  }();
  return text;
}

void BM_ExtractEMails(benchmark::State& state) {
  const std::string& text = BounceText();
  for (auto _ : state) benchmark::DoNotOptimize(qor::engine::ExtractEMails(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ExtractEMails)->Unit(benchmark::kMillisecond);

// The floor: find every at sign with memchr and do nothing else.
void BM_MemchrAtSigns(benchmark::State& state) {
  const std::string& text = BounceText();
  for (auto _ : state) {
    std::size_t count = 0;
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, '@', text.data() + text.size() - p))); ++p) {
      ++count;
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MemchrAtSigns)->Unit(benchmark::kMillisecond);

}  // namespace
