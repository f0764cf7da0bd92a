// The first page's "Next >>" of the wizard over the folders BM_ScanFolder scans: what the wizard
// adds to the engine's scan (its progress page, the exclusions, the list of addresses found).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "generated_mailbox.h"
#include "null_services.h"
#include "platform/atomic_file.h"
#include "support/temp_folder.h"
#include "wizard/model/frm_qor_main.h"

namespace {

using qor::bench::MailboxOf;
using qor::bench::NullServices;

// Any message box during a scan is an error the wizard caught; the benchmark stops on it.
class LastMessage final : public qor::wizard::MessageService {
 public:
  qor::wizard::MessageResult Show(const qor::wizard::MessageRequest& request) override {
    text = request.caption + ": " + request.text;
    return request.buttons == qor::wizard::MessageButtons::YesNo ? qor::wizard::MessageResult::Yes
                                                                 : qor::wizard::MessageResult::Ok;
  }

  std::optional<std::string> text;
};

class CancelledFiles final : public qor::wizard::FileDialogs {
 public:
  std::optional<std::string> Save(const qor::wizard::FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> Open(const qor::wizard::FileDialogRequest&) override { return std::nullopt; }
};

// The window's side of the progress page at its cheapest: it only counts the repaints asked of it.
class CountingProgress final : public qor::engine::ProgressSink {
 public:
  void SetLabel(const std::string&) override {}
  void SetLabelColour(std::uint32_t) override {}
  void SetBarMinimum(int) override {}
  void SetBarMaximum(int) override {}
  void SetBarPosition(int) override {}
  int BarPosition() const override { return 0; }
  void Repaint() override { ++repaints; }

  std::int64_t repaints = 0;
};

// Each iteration is a user's first "Next >>" in a wizard opened afresh, as each click on "QOR Agent"
// opens one; the address table lives on between them, as the library's does.
void BM_WizardScanFolder(benchmark::State& state) {
  const int messages = static_cast<int>(state.range(0));
  const auto outlook = MailboxOf(messages);
  outlook->SetActiveExplorerFolder(outlook->Stores().front()->FindSubfolder("Bounces"));

  const qor::tests::TempFolder temp;
  NullServices platform(qor::platform::PathToUtf8(temp.Path()));
  LastMessage shown;
  CancelledFiles files;
  CountingProgress display;
  qor::engine::TEmailData data;
  const qor::wizard::WizardServices services{*outlook, platform.services, shown, files, display,
                                             qor::platform::PathToUtf8(temp.Path() / "QOR for Outlook")};

  std::int64_t repaints = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<qor::wizard::TfrmQORMain>(services, data);
    form->FormShow();
    display.repaints = 0;
    state.ResumeTiming();

    form->UserClick(form->btnNext);

    state.PauseTiming();
    repaints += display.repaints;
    found = form->lstEmailAddressesFound.lines.items.size();
    const bool onReviewPage = form->pgTabs.PageIndex() == 1;
    form.reset();
    state.ResumeTiming();
    if (shown.text) {
      state.SkipWithError(shown.text->c_str());
      break;
    }
    if (!onReviewPage) {
      state.SkipWithError("the scan did not end on the review page");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * messages);
  state.counters["addresses"] = static_cast<double>(found);
  state.counters["repaints"] = benchmark::Counter(static_cast<double>(repaints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WizardScanFolder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
