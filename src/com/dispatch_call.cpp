#include "com/dispatch_call.h"

#include "com/utf.h"

#include <string>
#include <vector>

namespace qor::com {

namespace {

// Copies of a call's arguments, last first as DISPPARAMS holds them, owned for the call: a callee
// may coerce or clear them in place, as COM allows, without touching the caller's values.
class CallArguments {
 public:
  explicit CallArguments(std::span<const Variant> args) : values_(args.size()) {
    for (VARIANTARG& value : values_) VariantInit(&value);
    for (std::size_t i = 0; i < args.size(); ++i)
      ThrowIfFailed(VariantCopy(&values_[args.size() - 1 - i], detail::ReadOnly(args[i])));
  }
  ~CallArguments() {
    for (VARIANTARG& value : values_) VariantClear(&value);
  }
  CallArguments(const CallArguments&) = delete;
  CallArguments& operator=(const CallArguments&) = delete;

  VARIANTARG* Data() noexcept { return values_.data(); }
  UINT Count() const noexcept { return static_cast<UINT>(values_.size()); }

 private:
  std::vector<VARIANTARG> values_;
};

}  // namespace

Variant InvokeDispatch(IDispatch& object, DISPID id, WORD flags, std::span<const Variant> args) {
  CallArguments reversed(args);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.Data(), nullptr, reversed.Count(), 0};
  const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (isPut) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  Variant result;
  EXCEPINFO info{};
  UINT argumentError = 0;
  const HRESULT hr = object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, isPut ? nullptr : result.Put(),
                                   &info, &argumentError);
  if (FAILED(hr)) {
    ComError error = ErrorFromInvoke(hr, info, &object);
    // puArgErr counts from the end; callers think in declaration order.
    if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && argumentError < args.size())
      throw ComError(hr, error.what() + (" (argument " + std::to_string(args.size() - argumentError) + ")"),
                     error.Source());
    throw error;
  }
  return result;
}

DISPID Dispatch::IdOf(std::string_view name) {
  for (const auto& [known, id] : ids_)
    if (known == name) return id;
  DISPID id = Type().IdOf(name);
  if (id == DISPID_UNKNOWN) {
    std::wstring wide = ToUtf16(name);
    LPOLESTR names[] = {wide.data()};
    const HRESULT hr = Checked().GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (hr == DISP_E_UNKNOWNNAME) throw ComError(hr, "Unknown name \"" + std::string(name) + "\"");
    ThrowIfFailed(hr);
  }
  ids_.emplace_back(name, id);
  return id;
}

const DispatchType& Dispatch::Type() {
  if (!type_) type_ = DispatchType::Of(Checked());
  return *type_;
}

Variant Dispatch::Invoke(DISPID id, WORD flags, std::span<const Variant> args) {
  return InvokeDispatch(Checked(), id, flags, args);
}

IDispatch& Dispatch::Checked() const {
  if (!object_) throw ComError(E_POINTER);
  return *object_.Get();
}

}  // namespace qor::com
