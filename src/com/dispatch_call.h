#pragma once

// Late-bound calls by name, as Visual Basic makes them. Arguments are given in declaration order
// (the toolkit reverses them into DISPPARAMS). Failures throw ComError with the callee's own
// message, from its EXCEPINFO or its IErrorInfo.

#include "com/com_ptr.h"
#include "com/dispatch_type.h"
#include "com/variant.h"

#include <oaidl.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qor::com {

// One IDispatch::Invoke. A property put passes its value as the last argument, which becomes the
// named DISPID_PROPERTYPUT argument.
Variant InvokeDispatch(IDispatch& object, DISPID id, WORD flags, std::span<const Variant> args);

// An object reached through IDispatch. The DISPID of a name is looked up once per wrapper: in the
// object's type info when it describes itself by a dispinterface (see DispatchType: then once per
// interface in the process), else from the object itself, whose numbering may be its own
// (IDispatchEx objects may number members per object). Not thread-safe, like the apartment it
// lives in.
class Dispatch {
 public:
  Dispatch() = default;
  explicit Dispatch(ComPtr<IDispatch> object) noexcept : object_(std::move(object)) {}

  const ComPtr<IDispatch>& Object() const noexcept { return object_; }
  explicit operator bool() const noexcept { return static_cast<bool>(object_); }

  // A property; with arguments a parameterised one (Items.Item(1)), which Office exposes as
  // property or as method, so both kinds are asked for.
  template <class... Args>
  Variant Get(std::string_view name, const Args&... args) {
    const std::array<Variant, sizeof...(Args)> list{Variant(args)...};
    return Invoke(IdOf(name), sizeof...(Args) == 0 ? DISPATCH_PROPERTYGET : DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                  list);
  }

  // Office accepts DISPATCH_PROPERTYPUT for object values too, as Visual Basic's `Set` would need
  // DISPATCH_PROPERTYPUTREF; PutRef is there for members that declare only the latter.
  void Put(std::string_view name, const Variant& value) { Invoke(IdOf(name), DISPATCH_PROPERTYPUT, {&value, 1}); }
  void PutRef(std::string_view name, const Variant& value) {
    Invoke(IdOf(name), DISPATCH_PROPERTYPUTREF, {&value, 1});
  }

  // A method; asked for as method or property get, as Visual Basic does, so that a parameterised
  // getter may be called this way too.
  template <class... Args>
  Variant Call(std::string_view name, const Args&... args) {
    const std::array<Variant, sizeof...(Args)> list{Variant(args)...};
    return Invoke(IdOf(name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, list);
  }

  // Throws ComError(DISP_E_UNKNOWNNAME) naming the member when the object lacks it.
  DISPID IdOf(std::string_view name);
  Variant Invoke(DISPID id, WORD flags, std::span<const Variant> args);

  // The object's dispinterface, asked for once.
  const DispatchType& Type();

 private:
  IDispatch& Checked() const;

  ComPtr<IDispatch> object_;
  std::optional<DispatchType> type_;
  std::vector<std::pair<std::string, DISPID>> ids_;
};

}  // namespace qor::com
