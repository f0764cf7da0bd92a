#pragma once

// The class factory of an ActiveX control whose content is a form. Besides the COM class it writes
// the control's own keys (MiscStatus, ToolboxBitmap32, Control, Verb) and removes them first.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "framework/activex/active_form.h"
#include "framework/automation_factory.h"

namespace qor::framework {

class ActiveFormFactory final : public AutomationFactory {
 public:
  using FormClass = std::function<std::unique_ptr<TActiveForm>()>;

  // What every such control adds to its designed status: OLEMISC_RECOMPOSEONRESIZE,
  // CANTLINKINSIDE, INSIDEOUT, ACTIVATEWHENVISIBLE and SETCLIENTSITEFIRST.
  static constexpr DWORD kControlStatus = 0x20191;

  // Adds the factory to the server's list.
  static ActiveFormFactory& Create(ComServer& server, const CLSID& classId, FormClass formClass, int toolboxBitmap,
                                   DWORD miscStatus);
  ActiveFormFactory(ComServer& server, const CLSID& classId, FormClass formClass, int toolboxBitmap, DWORD miscStatus);

  void AddVerb(LONG verb, std::wstring name) { verbs_[verb] = std::move(name); }
  const std::map<LONG, std::wstring>& Verbs() const noexcept { return verbs_; }
  DWORD MiscStatus() const noexcept { return miscStatus_ | kControlStatus; }
  // The coclass's default source interface: the control's events.
  IID EventsInterfaceId() const;

  void UpdateRegistry(bool doRegister) override;

 protected:
  com::ComPtr<IUnknown> CreateObject() override;

 private:
  FormClass formClass_;
  int toolboxBitmap_;
  DWORD miscStatus_;
  std::map<LONG, std::wstring> verbs_;
};

}  // namespace qor::framework
