#include "engine/folder_scan.h"

#include <string>
#include <unordered_set>

#include "engine/extract_emails.h"
#include "engine/folder_path.h"
#include "engine/text.h"
#include "engine/xprocs.h"

namespace qor::engine {

namespace {

constexpr std::size_t kMinimumAddressLength = 5;

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

// An address the table takes: long enough, and a dot between its first and second at sign.
bool IsTableAddress(const std::string& line) {
  return line.size() >= kMinimumAddressLength && strTokenAt(line, '@', 1).find('.') != std::string::npos;
}

// Adds to `data` the addresses of one item's body not met before in this scan.
void ScanItem(host::Item& item, std::unordered_set<std::string>& met, TEmailData& data) {
  const std::string lines = ExtractEMails(item.Body());
  std::string entryId;
  for (std::size_t start = 0; start < lines.size();) {
    const auto end = lines.find("\r\n", start);
    const std::string line = Trim(std::string_view(lines).substr(start, end - start));
    start = end + 2;

    auto [address, isNew] = met.insert(LowerAscii(line));
    if (!isNew || !IsTableAddress(line)) continue;
    if (entryId.empty()) entryId = item.EntryID();
    data.push_back({*address, entryId, std::string(), std::string(kIncluded)});
  }
}

}  // namespace

void GetEmailAddressesFromFolder(host::Application& application, std::string_view EmailFolder, TEmailData& data,
                                 ProgressSink& progress) {
  data.clear();
  BarReset barReset(progress);

  const auto folder = GetMapiFolder(application, EmailFolder);
  if (!folder) return;
  const auto items = folder->Items();
  const int count = items->Count();
  if (count <= 0) return;

  progress.SetBarMaximum(count);
  progress.SetBarMinimum(0);
  progress.SetBarPosition(0);

  // Every address met in this scan, lower-cased, so each is examined once.
  std::unordered_set<std::string> met;
  for (int index = 1; index <= count; ++index) {
    progress.SetBarPosition(index);
    progress.Repaint();
    ScanItem(*items->Item(index), met, data);
  }
}

}  // namespace qor::engine
