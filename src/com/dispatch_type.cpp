#include "com/dispatch_type.h"

#include "com/utf.h"

#include <mutex>
#include <string>
#include <vector>

namespace qor::com {
namespace {

struct SharedId {
  IID iid;
  std::string name;
  DISPID id;
};

// Every DISPID found through a type info in this process: a few dozen at most.
class SharedIds {
 public:
  DISPID Find(const IID& iid, std::string_view name) {
    const std::lock_guard lock(mutex_);
    for (const SharedId& known : ids_)
      if (known.iid == iid && known.name == name) return known.id;
    return DISPID_UNKNOWN;
  }
  void Add(const IID& iid, std::string_view name, DISPID id) {
    const std::lock_guard lock(mutex_);
    ids_.push_back({iid, std::string(name), id});
  }

 private:
  std::mutex mutex_;
  std::vector<SharedId> ids_;
};

SharedIds& Shared() {
  static SharedIds ids;
  return ids;
}

}  // namespace

DispatchType DispatchType::Of(IDispatch& object) {
  DispatchType type;
  ComPtr<ITypeInfo> info;
  if (FAILED(object.GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put())) || !info) return type;
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes)) || attributes == nullptr) return type;
  const IID iid = attributes->guid;
  info->ReleaseTypeAttr(attributes);
  if (iid == GUID_NULL) return type;
  type.info_ = std::move(info);
  type.iid_ = iid;
  return type;
}

DISPID DispatchType::IdOf(std::string_view name) const {
  if (!info_) return DISPID_UNKNOWN;
  DISPID id = Shared().Find(iid_, name);
  if (id != DISPID_UNKNOWN) return id;
  std::wstring wide = ToUtf16(name);
  LPOLESTR names[] = {wide.data()};
  if (FAILED(info_->GetIDsOfNames(names, 1, &id)) || id == DISPID_UNKNOWN) return DISPID_UNKNOWN;
  Shared().Add(iid_, name, id);
  return id;
}

}  // namespace qor::com
