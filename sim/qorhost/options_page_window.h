#pragma once

// A page of Outlook's Options dialog: the control of a ProgID created and activated in place in
// the dialog's page area, with Outlook's page site. OK applies the page (PropertyPage.Apply) and
// closes the dialog.

#include <windows.h>

#include <string>

#include "com/com_ptr.h"
#include "platform/unique_any_win32.h"
#include "standin/outlook/property_page_site_object.h"

namespace qor::tools::qorhost {

class OptionsPageWindow {
 public:
  // Throws ComError when the control cannot be created or activated.
  OptionsPageWindow(const std::string& progId, com::ComPtr<IDispatch> application, HWND owner);
  ~OptionsPageWindow();
  OptionsPageWindow(const OptionsPageWindow&) = delete;
  OptionsPageWindow& operator=(const OptionsPageWindow&) = delete;

  // The status changes the page reported so far.
  int StatusChanges() const noexcept { return site_->StatusChanges(); }
  // The page's Dirty, then Apply; the result of Apply.
  HRESULT Apply(bool& wasDirty);

 private:
  platform::UniqueHwnd window_;
  com::ComPtr<standin::PropertyPageSiteObject> site_;
  com::ComPtr<IOleObject> control_;
};

}  // namespace qor::tools::qorhost
