#include "com/bstr.h"

#include "com/utf.h"

#include <climits>
#include <new>
#include <utility>

namespace qor::com {
namespace {

BSTR Allocate(std::wstring_view text) {
  if (text.size() > UINT_MAX / sizeof(wchar_t)) throw std::bad_alloc();
  BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (value == nullptr) throw std::bad_alloc();
  return value;
}

}  // namespace

Bstr::Bstr(std::wstring_view text) : value_(Allocate(text)) {}

Bstr::Bstr(std::string_view utf8) : value_(Allocate(ToUtf16(utf8))) {}

Bstr::Bstr(const Bstr& other) : value_(other.value_ == nullptr ? nullptr : Allocate(other.View())) {}

Bstr::Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}

Bstr& Bstr::operator=(Bstr other) noexcept {
  std::swap(value_, other.value_);
  return *this;
}

Bstr::~Bstr() { Reset(); }

void Bstr::Attach(BSTR raw) noexcept {
  BSTR old = std::exchange(value_, raw);
  if (old != raw) SysFreeString(old);
}

BSTR Bstr::Detach() noexcept { return std::exchange(value_, nullptr); }

void Bstr::Reset() noexcept { Attach(nullptr); }

BSTR* Bstr::Put() noexcept {
  Reset();
  return &value_;
}

BSTR Bstr::Copy() const { return Allocate(View()); }

std::size_t Bstr::Length() const noexcept { return SysStringLen(value_); }

std::string Bstr::ToUtf8() const { return com::ToUtf8(View()); }

}  // namespace qor::com
