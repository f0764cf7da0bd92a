#include "framework/activex/active_form_factory.h"

#include "com/com_error.h"
#include "com/guid_text.h"
#include "framework/activex/active_form_control.h"
#include "framework/com_server.h"
#include "framework/registry.h"

namespace qor::framework {

ActiveFormFactory& ActiveFormFactory::Create(ComServer& server, const CLSID& classId, FormClass formClass,
                                             int toolboxBitmap, DWORD miscStatus) {
  return static_cast<ActiveFormFactory&>(server.AddFactory(
      std::make_unique<ActiveFormFactory>(server, classId, std::move(formClass), toolboxBitmap, miscStatus)));
}

ActiveFormFactory::ActiveFormFactory(ComServer& server, const CLSID& classId, FormClass formClass, int toolboxBitmap,
                                     DWORD miscStatus)
    : AutomationFactory(server, classId),
      formClass_(std::move(formClass)),
      toolboxBitmap_(toolboxBitmap),
      miscStatus_(miscStatus) {}

IID ActiveFormFactory::EventsInterfaceId() const {
  const com::ComPtr<ITypeInfo> events = DefaultInfo(true);
  if (!events) return IID_NULL;
  TYPEATTR* attributes = nullptr;
  com::ThrowIfFailed(events->GetTypeAttr(&attributes));
  const IID id = attributes->guid;
  events->ReleaseTypeAttr(attributes);
  return id;
}

void ActiveFormFactory::UpdateRegistry(bool doRegister) {
  const std::wstring classKey = L"CLSID\\" + com::GuidText(ClassId());
  if (doRegister) {
    RegisterComClass();
    WriteClassesKey(classKey + L"\\MiscStatus", L"", L"0");
    WriteClassesKey(classKey + L"\\MiscStatus\\1", L"", std::to_wstring(MiscStatus()));
    WriteClassesKey(classKey + L"\\ToolboxBitmap32", L"",
                    Server().ServerFileName() + L"," + std::to_wstring(toolboxBitmap_));
    WriteClassesKey(classKey + L"\\Control", L"", L"");
    WriteClassesKey(classKey + L"\\Verb", L"", L"");
    for (const auto& [verb, name] : verbs_)
      WriteClassesKey(classKey + L"\\Verb\\" + std::to_wstring(verb), L"", name + L",0,2");
    return;
  }
  Registry classes(Server().ClassesRoot());
  for (const auto& [verb, name] : verbs_) classes.DeleteKey(classKey + L"\\Verb\\" + std::to_wstring(verb));
  for (const wchar_t* key : {L"\\Verb", L"\\Control", L"\\ToolboxBitmap32", L"\\MiscStatus\\1", L"\\MiscStatus"})
    classes.DeleteKey(classKey + key);
  UnregisterComClass();
}

com::ComPtr<IUnknown> ActiveFormFactory::CreateObject() {
  const com::ComPtr<TActiveFormControl> control = com::Make<TActiveFormControl>(*this, formClass_());
  return com::ComPtr<IUnknown>(com::ComPtr<IOleObject>(control));
}

}  // namespace qor::framework
