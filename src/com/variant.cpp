#include "com/variant.h"

#include "com/utf.h"

#include <utility>

namespace qor::com {
namespace {

bool IsObject(VARTYPE type) { return type == VT_DISPATCH || type == VT_UNKNOWN; }

std::wstring_view BstrView(BSTR text) noexcept { return {text == nullptr ? L"" : text, SysStringLen(text)}; }

}  // namespace

Variant::Variant(double value) noexcept : Variant() {
  value_.vt = VT_R8;
  value_.dblVal = value;
}

Variant::Variant(std::string_view utf8) : Variant(std::wstring_view(com::ToUtf16(utf8))) {}

Variant::Variant(std::wstring_view text) : Variant() {
  value_.bstrVal = Bstr(text).Detach();
  value_.vt = VT_BSTR;
}

Variant::Variant(IDispatch* object) noexcept : Variant() {
  if (object != nullptr) object->AddRef();
  value_.vt = VT_DISPATCH;
  value_.pdispVal = object;
}

Variant::Variant(IUnknown* object) noexcept : Variant() {
  if (object != nullptr) object->AddRef();
  value_.vt = VT_UNKNOWN;
  value_.punkVal = object;
}

Variant::Variant(const Variant& other) : Variant() { ThrowIfFailed(VariantCopy(&value_, detail::ReadOnly(other.value_))); }

Variant::Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

Variant& Variant::operator=(Variant other) noexcept {
  std::swap(value_, other.value_);
  return *this;
}

Variant::~Variant() { VariantClear(&value_); }

Variant Variant::Null() noexcept {
  Variant result;
  result.value_.vt = VT_NULL;
  return result;
}

Variant Variant::ByRef(VARIANT_BOOL* target) noexcept {
  Variant result;
  result.value_.vt = VT_BOOL | VT_BYREF;
  result.value_.pboolVal = target;
  return result;
}

Variant Variant::ByRefShort(SHORT* target) noexcept {
  Variant result;
  result.value_.vt = VT_I2 | VT_BYREF;
  result.value_.piVal = target;
  return result;
}

Variant Variant::ByRef(VARIANT* target) noexcept {
  Variant result;
  result.value_.vt = VT_VARIANT | VT_BYREF;
  result.value_.pvarVal = target;
  return result;
}

void Variant::Attach(const VARIANT& raw) noexcept {
  VariantClear(&value_);
  value_ = raw;
}

VARIANT Variant::Detach() noexcept {
  VARIANT raw = value_;
  VariantInit(&value_);
  return raw;
}

VARIANT* Variant::Put() noexcept {
  Reset();
  return &value_;
}

void Variant::Reset() noexcept {
  VariantClear(&value_);
  VariantInit(&value_);
}

bool Variant::IsMissing() const noexcept { return value_.vt == VT_ERROR && value_.scode == DISP_E_PARAMNOTFOUND; }

Variant Variant::ConvertedTo(VARTYPE type) const {
  Variant direct;
  ThrowIfFailed(VariantCopyInd(direct.Put(), detail::ReadOnly(value_)));
  if (direct.value_.vt == type) return direct;
  // An object's conversion would call its default member behind the caller's back.
  if (IsObject(direct.value_.vt) || IsObject(type)) throw ComError(DISP_E_TYPEMISMATCH);
  Variant converted;
  const USHORT flags = type == VT_BSTR ? VARIANT_ALPHABOOL : 0;
  ThrowIfFailed(VariantChangeType(converted.Put(), &direct.value_, flags, type));
  return converted;
}

// Text, the usual answer, is read straight from its BSTR: a long body is converted once, not copied first.
std::string Variant::ToUtf8() const {
  if (value_.vt == VT_BSTR) return com::ToUtf8(BstrView(value_.bstrVal));
  return com::ToUtf8(BstrView(ConvertedTo(VT_BSTR).value_.bstrVal));
}

std::wstring Variant::ToUtf16() const {
  if (value_.vt == VT_BSTR) return std::wstring(BstrView(value_.bstrVal));
  return std::wstring(BstrView(ConvertedTo(VT_BSTR).value_.bstrVal));
}

std::int32_t Variant::ToInt() const { return ConvertedTo(VT_I4).value_.lVal; }

std::int64_t Variant::ToInt64() const { return ConvertedTo(VT_I8).value_.llVal; }

double Variant::ToDouble() const { return ConvertedTo(VT_R8).value_.dblVal; }

bool Variant::ToBool() const { return ConvertedTo(VT_BOOL).value_.boolVal != VARIANT_FALSE; }

ComPtr<IDispatch> Variant::ToDispatch() const {
  Variant direct;
  ThrowIfFailed(VariantCopyInd(direct.Put(), detail::ReadOnly(value_)));
  ComPtr<IDispatch> result;
  if (direct.value_.vt == VT_DISPATCH) {
    result.CopyFrom(direct.value_.pdispVal);
  } else if (direct.value_.vt == VT_UNKNOWN && direct.value_.punkVal != nullptr) {
    if (FAILED(direct.value_.punkVal->QueryInterface(__uuidof(IDispatch), result.PutVoid())))
      throw ComError(DISP_E_TYPEMISMATCH);
  } else if (direct.value_.vt != VT_UNKNOWN) {
    throw ComError(DISP_E_TYPEMISMATCH);
  }
  return result;
}

ComPtr<IUnknown> Variant::ToUnknown() const {
  Variant direct;
  ThrowIfFailed(VariantCopyInd(direct.Put(), detail::ReadOnly(value_)));
  if (!IsObject(direct.value_.vt)) throw ComError(DISP_E_TYPEMISMATCH);
  ComPtr<IUnknown> result;
  result.CopyFrom(direct.value_.punkVal);
  return result;
}

Variant VariantOptional() noexcept {
  Variant result;
  VARIANT* raw = result.Put();
  raw->vt = VT_ERROR;
  raw->scode = DISP_E_PARAMNOTFOUND;
  return result;
}

}  // namespace qor::com
