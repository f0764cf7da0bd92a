#pragma once

// Outlook's Explorer: a folder window with its command bars, its ExplorerEvents and, through
// IOleWindow, a window handle of its own.

#include <oaidl.h>
#include <oleidl.h>

#include <memory>

#include "com/com_object.h"
#include "com/connection_points.h"
#include "host/outlook.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/hidden_window.h"
#include "standin/outlook/namespace_object.h"
#include "standin/outlook/outlook_ids.h"
#include "standin/outlook/outlook_window.h"

namespace qor::standin {

class ExplorerObject final : public com::ComObject<ExplorerObject, office::CountedDispatch<ExplorerObject>,
                                                   com::ConnectionPointContainerImpl, IOleWindow>,
                             public OutlookWindow {
 public:
  ExplorerObject(std::weak_ptr<OutlookSession> session, com::ComPtr<NameSpaceObject> nameSpace,
                 std::shared_ptr<host::Folder> folder, com::ComPtr<IDispatch> commandBars);

  static const com::DispatchTable<ExplorerObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == ids::kExplorer; }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

  com::ComPtr<IDispatch> WindowObject() override;
  bool IsExplorer() const noexcept override { return true; }
  void RaiseWindowEvent(DISPID id) override;

  const std::shared_ptr<host::Folder>& Folder() const noexcept { return folder_; }
  void SetFolder(std::shared_ptr<host::Folder> folder) noexcept { folder_ = std::move(folder); }
  com::ComPtr<IDispatch> MakeFolder(std::shared_ptr<host::Folder> folder) const;
  const com::ComPtr<IDispatch>& CommandBars() const noexcept { return commandBars_; }

 private:
  void PutCurrentFolder(const com::ComPtr<IDispatch>& folder);

  com::ComPtr<NameSpaceObject> nameSpace_;
  std::shared_ptr<host::Folder> folder_;
  com::ComPtr<IDispatch> commandBars_;
  HiddenWindow window_;
};

}  // namespace qor::standin
