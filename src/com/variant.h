#pragma once

// Owner of one VARIANT. Construction picks the Automation type a Visual Basic caller would see;
// the readers convert with VariantChangeType and throw ComError when the value cannot be had.

#include "com/bstr.h"
#include "com/com_ptr.h"

#include <oaidl.h>

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace qor::com {

class Variant {
 public:
  Variant() noexcept { VariantInit(&value_); }
  // Only a real bool becomes VT_BOOL: a pointer must never turn into True.
  template <std::same_as<bool> B>
  Variant(B value) noexcept : Variant() {
    value_.vt = VT_BOOL;
    value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  // Integers are VT_I4 (a Long) when they fit, VT_I8 otherwise.
  template <std::integral I>
    requires(!std::same_as<I, bool>)
  Variant(I value) noexcept : Variant() {
    if (std::in_range<std::int32_t>(value)) {
      value_.vt = VT_I4;
      value_.lVal = static_cast<std::int32_t>(value);
    } else {
      value_.vt = VT_I8;
      value_.llVal = static_cast<std::int64_t>(value);
    }
  }
  Variant(double value) noexcept;
  Variant(std::string_view utf8);
  Variant(const char* utf8) : Variant(std::string_view(utf8)) {}
  Variant(const std::string& utf8) : Variant(std::string_view(utf8)) {}
  Variant(std::wstring_view text);
  Variant(const wchar_t* text) : Variant(std::wstring_view(text)) {}
  Variant(const std::wstring& text) : Variant(std::wstring_view(text)) {}
  Variant(const Bstr& text) : Variant(text.View()) {}
  // Objects are AddRef'd; a null pointer is Visual Basic's Nothing.
  Variant(IDispatch* object) noexcept;
  Variant(IUnknown* object) noexcept;
  Variant(std::nullptr_t) noexcept : Variant(static_cast<IDispatch*>(nullptr)) {}
  template <class T>
  Variant(const ComPtr<T>& object) noexcept : Variant() {
    if constexpr (std::convertible_to<T*, IDispatch*>)
      *this = Variant(static_cast<IDispatch*>(object.Get()));
    else
      *this = Variant(static_cast<IUnknown*>(object.Get()));
  }

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept;
  ~Variant();

  // Values that only make sense as call arguments.
  static Variant Null() noexcept;
  static Variant ByRef(VARIANT_BOOL* target) noexcept;
  static Variant ByRef(VARIANT* target) noexcept;
  // A 16-bit integer by reference (VT_I2): VARIANT_BOOL is the same C++ type, so it has a name.
  static Variant ByRefShort(SHORT* target) noexcept;

  // Takes over `raw`, which must not be cleared by the caller afterwards.
  void Attach(const VARIANT& raw) noexcept;
  [[nodiscard]] VARIANT Detach() noexcept;
  VARIANT* Put() noexcept;  // clears what is held first
  void Reset() noexcept;

  const VARIANT& Get() const noexcept { return value_; }
  operator const VARIANT&() const noexcept { return value_; }
  VARTYPE Type() const noexcept { return value_.vt; }

  bool IsEmpty() const noexcept { return value_.vt == VT_EMPTY; }
  bool IsNull() const noexcept { return value_.vt == VT_NULL; }
  bool IsMissing() const noexcept;

  std::string ToUtf8() const;
  std::wstring ToUtf16() const;
  std::int32_t ToInt() const;
  std::int64_t ToInt64() const;
  double ToDouble() const;
  bool ToBool() const;
  // Nothing gives a null pointer; anything that is not an object is a type mismatch.
  ComPtr<IDispatch> ToDispatch() const;
  ComPtr<IUnknown> ToUnknown() const;

 private:
  Variant ConvertedTo(VARTYPE type) const;

  VARIANT value_;
};

namespace detail {
// MinGW declares the sources of VariantCopy and VariantChangeType without const; they only read them.
inline VARIANT* ReadOnly(const VARIANT& value) noexcept { return const_cast<VARIANT*>(&value); }
}  // namespace detail

// The value Automation passes for an optional argument the caller leaves out.
Variant VariantOptional() noexcept;

}  // namespace qor::com
