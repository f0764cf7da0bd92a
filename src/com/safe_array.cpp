#include "com/safe_array.h"

#include <cassert>
#include <utility>

#include "com/com_error.h"

namespace qor::com {

SafeArray& SafeArray::operator=(SafeArray other) noexcept {
  std::swap(array_, other.array_);
  return *this;
}

SafeArray::~SafeArray() {
  if (array_ != nullptr) SafeArrayDestroy(array_);
}

SafeArray SafeArray::List(long count) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(count));
  if (array == nullptr) throw ComError(E_OUTOFMEMORY);
  return SafeArray(array);
}

SafeArray SafeArray::Matrix(long rows, long columns) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows), 0}, {static_cast<ULONG>(columns), 0}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (array == nullptr) throw ComError(E_OUTOFMEMORY);
  return SafeArray(array);
}

SAFEARRAY* SafeArray::Detach() noexcept { return std::exchange(array_, nullptr); }

Variant ArrayVariant(SafeArray array) noexcept {
  VARIANT raw;
  VariantInit(&raw);
  raw.vt = VT_ARRAY | VT_VARIANT;
  raw.parray = array.Detach();
  Variant value;
  value.Attach(raw);
  return value;
}

namespace {

SAFEARRAY* ArrayOf(const VARIANT& value) {
  if (value.vt == (VT_ARRAY | VT_VARIANT)) return value.parray;
  if (value.vt == (VT_ARRAY | VT_VARIANT | VT_BYREF) && value.pparray != nullptr) return *value.pparray;
  throw ComError(DISP_E_TYPEMISMATCH);
}

// The element count of dimension `dimension` (1-based, as SafeArrayGetUBound counts).
long CountOf(SAFEARRAY* array, UINT dimension) {
  LONG lower = 0;
  LONG upper = 0;
  if (FAILED(SafeArrayGetLBound(array, dimension, &lower)) || FAILED(SafeArrayGetUBound(array, dimension, &upper)))
    throw ComError(DISP_E_TYPEMISMATCH);
  return upper - lower + 1;
}

}  // namespace

VariantTable::VariantTable(const Variant& value) : VariantTable(ArrayOf(value.Get())) {}

VariantTable::VariantTable(SAFEARRAY* array) : array_(array) {
  VARTYPE type = VT_EMPTY;
  const UINT dimensions = array_ != nullptr ? SafeArrayGetDim(array_) : 0;
  if (dimensions < 1 || dimensions > 2 || FAILED(SafeArrayGetVartype(array_, &type)) || type != VT_VARIANT)
    throw ComError(DISP_E_TYPEMISMATCH);
  rows_ = dimensions == 2 ? CountOf(array_, 1) : 1;
  columns_ = CountOf(array_, dimensions);
  HRESULT hr = SafeArrayAccessData(array_, reinterpret_cast<void**>(&data_));
  if (FAILED(hr)) throw ComError(hr);
}

VariantTable::~VariantTable() { SafeArrayUnaccessData(array_); }

VARIANT& VariantTable::At(long row, long column) noexcept {
  assert(row >= 0 && row < rows_ && column >= 0 && column < columns_);
  return data_[column * rows_ + row];
}

}  // namespace qor::com
