#include "standin/outlook/explorer_object.h"

#include <utility>

#include "com/com_error.h"
#include "standin/outlook/folder_objects.h"
#include "standin/outlook/outlook_session.h"

namespace qor::standin {

ExplorerObject::ExplorerObject(std::weak_ptr<OutlookSession> session, com::ComPtr<NameSpaceObject> nameSpace,
                               std::shared_ptr<host::Folder> folder, com::ComPtr<IDispatch> commandBars)
    : OutlookWindow(std::move(session), kExplorerClosed),
      nameSpace_(std::move(nameSpace)),
      folder_(std::move(folder)),
      commandBars_(std::move(commandBars)) {
  AddConnectionPoint(ids::kExplorerEvents);
}

const com::DispatchTable<ExplorerObject>& ExplorerObject::DispatchMembers() {
  using Self = ExplorerObject;
  static const auto table = com::DispatchTable<Self>()
                                .Property(
                                    "CurrentFolder",
                                    [](Self& self) {
                                      self.CheckOpen();
                                      return self.MakeFolder(self.folder_);
                                    },
                                    &Self::PutCurrentFolder)
                                .Property("CommandBars",
                                          [](Self& self) {
                                            self.CheckOpen();
                                            return self.commandBars_;
                                          })
                                .Property("Caption",
                                          [](Self& self) {
                                            self.CheckOpen();
                                            return self.folder_->Name() + " - Microsoft Outlook";
                                          })
                                .Method("Activate",
                                        [](Self& self) {
                                          self.CheckOpen();
                                          self.Session()->Activate(self);
                                        })
                                .Method("Close", [](Self& self) {
                                  self.CheckOpen();
                                  self.Session()->Close(self);
                                });
  return table;
}

HRESULT ExplorerObject::GetWindow(HWND* window) noexcept {
  if (window == nullptr) return E_POINTER;
  *window = nullptr;
  if (IsClosed()) return E_FAIL;
  *window = window_.Handle();
  return S_OK;
}

com::ComPtr<IDispatch> ExplorerObject::WindowObject() {
  com::ComPtr<IDispatch> self;
  self.CopyFrom(this);
  return self;
}

void ExplorerObject::RaiseWindowEvent(DISPID id) { Fire(ids::kExplorerEvents, id); }

com::ComPtr<IDispatch> ExplorerObject::MakeFolder(std::shared_ptr<host::Folder> folder) const {
  return nameSpace_->MakeFolder(std::move(folder));
}

void ExplorerObject::PutCurrentFolder(const com::ComPtr<IDispatch>& folder) {
  CheckOpen();
  auto target = HostFolderOf(folder.Get());
  if (!target) throw com::ComError(DISP_E_TYPEMISMATCH);
  Session()->SwitchFolder(*this, std::move(target));
}

}  // namespace qor::standin
