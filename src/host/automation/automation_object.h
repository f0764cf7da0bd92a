#pragma once

// The base of every wrapper of this layer: one Outlook object reached by name through IDispatch.
// Every failure becomes a HostError naming the object and member with Outlook's message and
// HRESULT, or HostDisconnected when Outlook itself is gone.

#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "com/com_error.h"
#include "com/dispatch_call.h"
#include "host/host_error.h"

namespace qor::host::automation {

// The HostError for `error` of `type`.`member`: "Items.Restrict: <message> (0x80020009)", or
// HostDisconnected when the HRESULT says Outlook can no longer be reached.
[[noreturn]] void ThrowHostError(std::string_view type, std::string_view member, const com::ComError& error);

// Runs `call` of `type`.`member`, handing a COM failure on as ThrowHostError does.
template <class Call>
decltype(auto) AsHostCall(std::string_view type, std::string_view member, Call&& call) {
  try {
    return std::forward<Call>(call)();
  } catch (const com::ComError& error) {
    ThrowHostError(type, member, error);
  }
}

// What one member answered, read as the wrapper needs it. A value of the wrong kind is that
// member's failure. `type` and `member` are names with static storage.
class Answer {
 public:
  Answer(com::Variant value, std::string_view type, std::string_view member) noexcept
      : value_(std::move(value)), type_(type), member_(member) {}

  // Empty and Null read as "": an unset text is no failure.
  std::string Text() const;
  int Number() const;
  // Nothing (or no value at all) gives null.
  com::ComPtr<IDispatch> Object() const;
  // Where Outlook always answers an object, Nothing is a failure of the member.
  com::ComPtr<IDispatch> RequiredObject() const;
  const com::Variant& Value() const noexcept { return value_; }

 private:
  com::Variant value_;
  std::string_view type_;
  std::string_view member_;
};

class OutlookObject {
 public:
  // `type` names the object in errors as Outlook's object model does ("Items", "MAPIFolder"); it
  // has static storage.
  OutlookObject(std::string_view type, com::ComPtr<IDispatch> object) noexcept
      : type_(type), dispatch_(std::move(object)) {}
  // Keeps what `dispatch` has learnt of its object already.
  OutlookObject(std::string_view type, com::Dispatch dispatch) noexcept : type_(type), dispatch_(std::move(dispatch)) {}

  const com::ComPtr<IDispatch>& Object() const noexcept { return dispatch_.Object(); }

 protected:
  template <class... Args>
  Answer Get(std::string_view name, const Args&... args) const {
    return {AsHostCall(type_, name, [&] { return dispatch_.Get(name, args...); }), type_, name};
  }
  template <class... Args>
  Answer Call(std::string_view name, const Args&... args) const {
    return {AsHostCall(type_, name, [&] { return dispatch_.Call(name, args...); }), type_, name};
  }
  // Nothing when this version of Outlook lacks the member; its other failures as Call's.
  template <class... Args>
  std::optional<Answer> CallIfKnown(std::string_view name, const Args&... args) const {
    try {
      return Answer(dispatch_.Call(name, args...), type_, name);
    } catch (const com::ComError& error) {
      if (error.Code() == DISP_E_UNKNOWNNAME || error.Code() == DISP_E_MEMBERNOTFOUND) return std::nullopt;
      ThrowHostError(type_, name, error);
    }
  }
  void Put(std::string_view name, const com::Variant& value) const {
    AsHostCall(type_, name, [&] { dispatch_.Put(name, value); });
  }

  std::string Text(std::string_view name) const { return Get(name).Text(); }
  void PutText(std::string_view name, const std::string& value) const { Put(name, com::Variant(value)); }
  int Number(std::string_view name) const { return Get(name).Number(); }

 private:
  std::string_view type_;
  // Some host interface getters are const; what the wrapper learns of its object is all that
  // changes in them.
  mutable com::Dispatch dispatch_;
};

}  // namespace qor::host::automation
