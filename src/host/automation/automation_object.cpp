#include "host/automation/automation_object.h"

namespace qor::host::automation {

std::string OutlookObject::TextOf(const com::Variant& value) {
  if (value.IsEmpty() || value.IsNull()) return {};
  return AsHostCall([&] { return value.ToUtf8(); });
}

int OutlookObject::NumberOf(const com::Variant& value) {
  return AsHostCall([&] { return static_cast<int>(value.ToInt()); });
}

com::ComPtr<IDispatch> OutlookObject::ObjectOf(const com::Variant& value) {
  if (value.IsEmpty() || value.IsNull()) return nullptr;
  return AsHostCall([&] { return value.ToDispatch(); });
}

com::ComPtr<IDispatch> OutlookObject::RequiredObjectOf(const com::Variant& value, std::string_view member) {
  auto object = ObjectOf(value);
  if (!object) throw HostError("Outlook returned no object for " + std::string(member) + ".");
  return object;
}

}  // namespace qor::host::automation
