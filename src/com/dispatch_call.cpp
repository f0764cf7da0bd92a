#include "com/dispatch_call.h"

#include "com/utf.h"

#include <string>

namespace qor::com {

Variant InvokeDispatch(IDispatch& object, DISPID id, WORD flags, std::span<const Variant> args) {
  // Bitwise copies: the Variants keep ownership, the callee only reads [in] arguments.
  std::vector<VARIANTARG> reversed(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) reversed[args.size() - 1 - i] = args[i].Get();
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
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
  std::wstring wide = ToUtf16(name);
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = Checked().GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (hr == DISP_E_UNKNOWNNAME) throw ComError(hr, "Unknown name \"" + std::string(name) + "\"");
  ThrowIfFailed(hr);
  ids_.emplace_back(name, id);
  return id;
}

Variant Dispatch::Invoke(DISPID id, WORD flags, std::span<const Variant> args) {
  return InvokeDispatch(Checked(), id, flags, args);
}

IDispatch& Dispatch::Checked() const {
  if (!object_) throw ComError(E_POINTER);
  return *object_.Get();
}

}  // namespace qor::com
