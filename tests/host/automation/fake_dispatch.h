#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "com/com_object.h"
#include "com/dispatch_impl.h"
#include "com/utf.h"

namespace qor::host::automation::testing {

// An Outlook object scripted member by member, which records every name it is asked to look up.
class FakeDispatch final : public com::ComObject<FakeDispatch, com::DispatchImpl<FakeDispatch>> {
 public:
  using Answer = std::function<com::Variant(const com::DispatchArgs&)>;

  // Offers MAPIFolder, as Outlook's folders do.
  explicit FakeDispatch(bool isFolder = false) : isFolder_(isFolder) {}

  // A property that reads and writes a stored value.
  FakeDispatch& Value(std::string name, com::Variant initial) {
    values_[name] = std::move(initial);
    members_.Property(
        name, [name](FakeDispatch& self) { return self.values_.at(name); },
        [name](FakeDispatch& self, com::Variant value) { self.values_[name] = std::move(value); });
    return *this;
  }
  // A member answered by `answer`, as property and method alike; a later answer replaces it.
  FakeDispatch& On(const std::string& name, Answer answer) {
    const bool known = answers_.contains(name);
    answers_[name] = std::move(answer);
    if (!known) {
      members_.Property(name, [name](FakeDispatch& self, const com::DispatchArgs& args) {
        const Answer current = self.answers_.at(name);  // it may replace itself
        return current(args);
      });
    }
    return *this;
  }

  com::Variant& Stored(const std::string& name) { return values_.at(name); }
  const std::vector<std::string>& Lookups() const noexcept { return lookups_; }

  const com::DispatchTable<FakeDispatch>& DispatchMembers() const noexcept { return members_; }
  bool ExtraInterface(REFIID iid) const noexcept { return isFolder_ && iid == kMapiFolder; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override {
    if (names != nullptr && count > 0 && names[0] != nullptr) lookups_.push_back(com::ToUtf8(names[0]));
    return DispatchImpl::GetIDsOfNames(iid, names, count, locale, ids);
  }

  static constexpr IID kMapiFolder = {0x00063006, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

 private:
  bool isFolder_;
  com::DispatchTable<FakeDispatch> members_;
  std::map<std::string, com::Variant> values_;
  std::map<std::string, Answer> answers_;
  std::vector<std::string> lookups_;
};

// An answer that fails as Outlook does, with its message in EXCEPINFO.
inline FakeDispatch::Answer Fails(std::string message) {
  return [message = std::move(message)](const com::DispatchArgs&) -> com::Variant {
    throw com::ComError(E_FAIL, message, "Microsoft Outlook");
  };
}

inline FakeDispatch::Answer Returns(com::Variant value) {
  return [value = std::move(value)](const com::DispatchArgs&) { return value; };
}

}  // namespace qor::host::automation::testing
