#include "engine/folder_scan.h"

#include <string>

#include "engine/address_set.h"
#include "engine/bounce_classifier.h"
#include "engine/extract_emails.h"

namespace qor::engine {

namespace {

// The bar goes back to 0 however the scan ends.
class BarReset {
 public:
  explicit BarReset(ProgressSink& progress) : progress_(progress) {}
  ~BarReset() { progress_.SetBarPosition(0); }
  BarReset(const BarReset&) = delete;
  BarReset& operator=(const BarReset&) = delete;

 private:
  ProgressSink& progress_;
};

// An address the table takes: a dot between its first and second at sign.
bool IsTableAddress(std::string_view address) {
  const std::string_view afterAt = address.substr(address.find('@') + 1);
  return afterAt.substr(0, afterAt.find('@')).find('.') != std::string_view::npos;
}

// What the scan keeps from one item to the next: every address met so far, so each is examined
// once and looked up without a copy, with its row in the table; and the readers' buffers.
struct ScanState {
  static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

  AddressSet met;
  std::vector<std::size_t> rowOf;  // by index in `met`: the address's row, or kNoRow
  AddressExtractor extractor;
  BounceClassifier classifier;
  std::vector<std::size_t> failedRows;
};

// Adds to `data` the addresses of one item's body not met before in this scan, and to `report`
// what the body says of each.
void ScanItem(host::Item& item, ScanState& state, TEmailData& data, BounceReport* report) {
  const std::string body = item.Body();
  std::string entryId;
  const auto& found = state.extractor.Extract(body);
  const std::vector<AddressVerdict>* verdicts =
      report ? &state.classifier.Classify(body, found, state.extractor.Occurrences()) : nullptr;
  state.failedRows.clear();
  for (std::size_t index = 0; index < found.size(); ++index) {
    const auto address = state.met.Insert(found[index]);
    if (address.isNew) {
      const bool taken = IsTableAddress(address.held);
      state.rowOf.push_back(taken ? data.size() : ScanState::kNoRow);
      if (!taken) continue;
      if (entryId.empty()) entryId = item.EntryID();
      data.push_back({std::string(address.held), entryId, std::string(), std::string(kIncluded)});
    }
    const std::size_t row = state.rowOf[address.index];
    if (!report || row == ScanState::kNoRow) continue;
    report->Record(row, (*verdicts)[index]);
    if ((*verdicts)[index].role == AddressRole::Recipient) state.failedRows.push_back(row);
  }
  if (!state.failedRows.empty()) {
    if (entryId.empty()) entryId = item.EntryID();
    report->AddFailedMessage(std::move(entryId), state.failedRows);
  }
}

}  // namespace

void GetEmailAddressesFromFolder(host::Application& application, std::string_view EmailFolder, TEmailData& data,
                                 ProgressSink& progress, const ChosenFolders* chosen, BounceReport* report) {
  data.clear();
  if (report) report->Clear();
  BarReset barReset(progress);

  const auto folder = ResolveFolder(application, chosen, EmailFolder);
  if (!folder) return;
  const auto items = folder->Items();
  const int count = items->Count();
  if (count <= 0) return;

  progress.SetBarMaximum(count);
  progress.SetBarMinimum(0);
  progress.SetBarPosition(0);

  ScanState state;
  for (int index = 1; index <= count; ++index) {
    progress.BetweenItems();
    progress.SetBarPosition(index);
    progress.Repaint();
    ScanItem(*items->Item(index), state, data, report);
  }
}

}  // namespace qor::engine
