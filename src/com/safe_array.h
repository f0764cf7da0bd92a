#pragma once

// Owners of SAFEARRAYs of VARIANT, as Automation passes tables of values: a one-row list (a
// Visual Basic `Variant()`) or rows by columns (`Variant(,)`), both 0-based. Storage is
// column-major, as Visual Basic lays it out: element (row, column) is the row-th of its column.

#include <oaidl.h>

#include "com/variant.h"

namespace qor::com {

class SafeArray {
 public:
  SafeArray() noexcept = default;
  // Takes over `array`.
  explicit SafeArray(SAFEARRAY* array) noexcept : array_(array) {}
  SafeArray(SafeArray&& other) noexcept : array_(other.Detach()) {}
  SafeArray& operator=(SafeArray other) noexcept;
  SafeArray(const SafeArray&) = delete;
  ~SafeArray();

  // `count` Empty values.
  static SafeArray List(long count);
  // `rows` × `columns` Empty values.
  static SafeArray Matrix(long rows, long columns);

  SAFEARRAY* Get() const noexcept { return array_; }
  [[nodiscard]] SAFEARRAY* Detach() noexcept;

 private:
  SAFEARRAY* array_ = nullptr;
};

// The array as a VT_ARRAY | VT_VARIANT value, which then owns it.
Variant ArrayVariant(SafeArray array) noexcept;

// The elements of a one- or two-dimensional array of VARIANT, locked for the life of the view. A
// list reads as one row. Anything else is a type mismatch (DISP_E_TYPEMISMATCH).
class VariantTable {
 public:
  explicit VariantTable(SAFEARRAY* array);
  // The array a VT_ARRAY | VT_VARIANT value holds, by value or by reference.
  explicit VariantTable(const Variant& value);
  VariantTable(const VariantTable&) = delete;
  VariantTable& operator=(const VariantTable&) = delete;
  ~VariantTable();

  long Rows() const noexcept { return rows_; }
  long Columns() const noexcept { return columns_; }
  // 0-based, unchecked beyond a debug assertion.
  VARIANT& At(long row, long column) noexcept;

 private:
  SAFEARRAY* array_;
  VARIANT* data_ = nullptr;
  long rows_ = 0;
  long columns_ = 0;
};

}  // namespace qor::com
