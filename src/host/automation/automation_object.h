#pragma once

// The base of every wrapper of this layer: one Outlook object reached by name through IDispatch,
// its DISPIDs cached on the wrapper, every failure turned into HostError with Outlook's text.

#include <oaidl.h>

#include <string>
#include <string_view>
#include <utility>

#include "com/com_error.h"
#include "com/dispatch_call.h"
#include "host/host_error.h"

namespace qor::host::automation {

// Runs `call`, handing a COM failure on as HostError with the same message.
template <class Call>
decltype(auto) AsHostCall(Call&& call) {
  try {
    return std::forward<Call>(call)();
  } catch (const com::ComError& error) {
    throw HostError(error.what());
  }
}

class OutlookObject {
 public:
  explicit OutlookObject(com::ComPtr<IDispatch> object) noexcept : dispatch_(std::move(object)) {}
  // Keeps the DISPIDs `dispatch` has looked up already.
  explicit OutlookObject(com::Dispatch dispatch) noexcept : dispatch_(std::move(dispatch)) {}

  const com::ComPtr<IDispatch>& Object() const noexcept { return dispatch_.Object(); }

 protected:
  template <class... Args>
  com::Variant Get(std::string_view name, const Args&... args) const {
    return AsHostCall([&] { return dispatch_.Get(name, args...); });
  }
  template <class... Args>
  com::Variant Call(std::string_view name, const Args&... args) const {
    return AsHostCall([&] { return dispatch_.Call(name, args...); });
  }
  void Put(std::string_view name, const com::Variant& value) const {
    AsHostCall([&] { dispatch_.Put(name, value); });
  }

  std::string Text(std::string_view name) const { return TextOf(Get(name)); }
  void PutText(std::string_view name, const std::string& value) const { Put(name, com::Variant(value)); }
  int Number(std::string_view name) const { return NumberOf(Get(name)); }

  // Empty and Null read as "": an unset text is no failure.
  static std::string TextOf(const com::Variant& value);
  static int NumberOf(const com::Variant& value);
  // Nothing (or no value at all) gives null.
  static com::ComPtr<IDispatch> ObjectOf(const com::Variant& value);
  // Where Outlook always answers an object, Nothing is a failure of the call named `member`.
  static com::ComPtr<IDispatch> RequiredObjectOf(const com::Variant& value, std::string_view member);

 private:
  // Some host interface getters are const; the DISPID cache is all that changes in them.
  mutable com::Dispatch dispatch_;
};

}  // namespace qor::host::automation
