// Extraction speed on real bounce text, next to the cheapest possible pass over the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/bounce_classifier.h"
#include "engine/extract_emails.h"
#include "generated_mailbox.h"
#include "host/memory/mailbox_file.h"
#include "host/memory/memory_outlook.h"

namespace {

// The bodies of the bundled sample's bounces, repeated to about 4 MB.
const std::vector<std::string>& BounceBodies() {
  static const std::vector<std::string> bodies = [] {
    const auto outlook = qor::host::memory::LoadMailbox(QOR_SOURCE_DIR "/samples/mailbox.json");
    const auto items = outlook->GetNamespace("MAPI")->Folders()->Item("Mailbox")->Folders()->Item("Bounces")->Items();
    std::vector<std::string> repeated;
    for (std::size_t size = 0; size < (4u << 20);) {
      for (int i = 1; i <= items->Count(); ++i) size += repeated.emplace_back(items->Item(i)->Body()).size();
    }
    return repeated;
  }();
  return bodies;
}

// The same bodies as one text.
const std::string& BounceText() {
  static const std::string text = [] {
    std::string joined;
    for (const auto& body : BounceBodies()) joined += body;
    return joined;
  }();
  return text;
}

void BM_ExtractEMails(benchmark::State& state) {
  const std::string& text = BounceText();
  for (auto _ : state) benchmark::DoNotOptimize(qor::engine::ExtractEMails(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ExtractEMails)->Unit(benchmark::kMillisecond);

// Extraction as the folder scan uses it: body by body, with one extractor throughout.
void BM_AddressExtractorPerBody(benchmark::State& state) {
  qor::engine::AddressExtractor extractor;
  for (auto _ : state) {
    for (const auto& body : BounceBodies()) benchmark::DoNotOptimize(extractor.Extract(body).data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * BounceText().size()));
}
BENCHMARK(BM_AddressExtractorPerBody)->Unit(benchmark::kMillisecond);

// Classification as the folder scan adds it, after extraction: on the sample's bodies (0) and on
// the generated bounces of the folder benchmarks (1). Extraction is outside the timing.
void BM_BounceClassifierPerBody(benchmark::State& state) {
  struct Extracted {
    std::vector<std::string_view> addresses;
    std::vector<qor::engine::AddressOccurrence> occurrences;
  };
  static std::vector<std::string> generated;
  if (generated.empty()) {
    for (int n = 0; n < 1000; ++n) generated.push_back(qor::bench::BounceBody(n));
  }
  const auto& bodies = state.range(0) == 0 ? BounceBodies() : generated;
  std::vector<Extracted> extracted;
  std::vector<qor::engine::AddressExtractor> extractors(bodies.size());
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    const auto& found = extractors[i].Extract(bodies[i]);
    extracted.push_back({found, extractors[i].Occurrences()});
  }
  qor::engine::BounceClassifier classifier;
  for (auto _ : state) {
    for (std::size_t i = 0; i < bodies.size(); ++i) {
      benchmark::DoNotOptimize(classifier.Classify(bodies[i], extracted[i].addresses, extracted[i].occurrences).data());
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * bodies.size()));
}
BENCHMARK(BM_BounceClassifierPerBody)->Arg(0)->Arg(1);

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
