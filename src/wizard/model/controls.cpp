#include "wizard/model/controls.h"

namespace qor::wizard {

bool Control::OnShownPage() const noexcept {
  for (const TabSheet* sheet = sheet_; sheet != nullptr; sheet = sheet->owner->Sheet()) {
    if (sheet->owner->PageIndex() != sheet->index) return false;
  }
  return true;
}

TabSheet& PageControl::AddSheet(std::string name, std::string caption, bool sunken) {
  auto sheet = std::make_unique<TabSheet>(
      TabSheet{std::move(name), std::move(caption), this, static_cast<int>(sheets_.size()), sunken});
  sheets_.push_back(std::move(sheet));
  return *sheets_.back();
}

void PageControl::SetPageIndex(int index) noexcept {
  if (index >= 0 && index < static_cast<int>(sheets_.size())) pageIndex_ = index;
}

}  // namespace qor::wizard
