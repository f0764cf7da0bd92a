#pragma once

// The arguments of one IDispatch::Invoke as the member implementing it sees them: in declaration
// order (DISPPARAMS holds them reversed), a property put's value last.

#include "com/com_error.h"
#include "com/variant.h"

#include <oaidl.h>

#include <cstddef>

namespace qor::com {

// An argument that failed to convert; IDispatch::Invoke reports its position through puArgErr.
class ArgumentError : public ComError {
 public:
  ArgumentError(HRESULT code, std::size_t position) : ComError(code), position_(position) {}
  std::size_t Position() const noexcept { return position_; }

 private:
  std::size_t position_;
};

// A by-reference argument (VT_BYREF): the caller sees what Set writes.
class RefArg {
 public:
  explicit RefArg(VARIANT& slot) noexcept : slot_(&slot) {}
  Variant Get() const;
  // Converted to the referenced type; throws ComError(DISP_E_TYPEMISMATCH) when it cannot be.
  void Set(const Variant& value) const;

 private:
  VARIANT* slot_;
};

class DispatchArgs {
 public:
  // `reversed` as in DISPPARAMS::rgvarg.
  DispatchArgs(VARIANTARG* reversed, std::size_t count) noexcept : reversed_(reversed), count_(count) {}

  std::size_t Count() const noexcept { return count_; }
  // Left out at the end, or passed as Automation's missing value.
  bool IsMissing(std::size_t position) const noexcept;
  // Throw ArgumentError(DISP_E_PARAMNOTFOUND) for a missing argument.
  const VARIANT& Raw(std::size_t position) const;
  Variant Value(std::size_t position) const;  // a by-reference argument's current value
  // Throws ArgumentError(DISP_E_TYPEMISMATCH) unless the argument is by reference.
  RefArg Ref(std::size_t position) const;

 private:
  VARIANTARG& Slot(std::size_t position) const noexcept { return reversed_[count_ - 1 - position]; }

  VARIANTARG* reversed_;
  std::size_t count_;
};

}  // namespace qor::com
