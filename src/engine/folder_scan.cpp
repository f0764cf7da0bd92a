#include "engine/folder_scan.h"

#include <string>

#include "engine/address_set.h"
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
// once and looked up without a copy; and the extractor's buffers.
struct ScanState {
  AddressSet met;
  AddressExtractor extractor;
};

// Adds to `data` the addresses of one item's body not met before in this scan.
void ScanItem(host::Item& item, ScanState& state, TEmailData& data) {
  const std::string body = item.Body();
  std::string entryId;
  for (const std::string_view found : state.extractor.Extract(body)) {
    const auto address = state.met.InsertNew(found);
    if (!address || !IsTableAddress(*address)) continue;
    if (entryId.empty()) entryId = item.EntryID();
    data.push_back({std::string(*address), entryId, std::string(), std::string(kIncluded)});
  }
}

}  // namespace

void GetEmailAddressesFromFolder(host::Application& application, std::string_view EmailFolder, TEmailData& data,
                                 ProgressSink& progress, const ChosenFolders* chosen) {
  data.clear();
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
    ScanItem(*items->Item(index), state, data);
  }
}

}  // namespace qor::engine
