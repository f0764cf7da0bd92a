#pragma once

// Owner of one BSTR. BSTRs carry their length and may hold NULs; every conversion here keeps it.
// A null BSTR is COM's empty string: Length() 0, ToUtf8() "".

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace qor::com {

class Bstr {
 public:
  Bstr() noexcept = default;
  explicit Bstr(std::wstring_view text);
  explicit Bstr(std::string_view utf8);
  explicit Bstr(const char* utf8) : Bstr(std::string_view(utf8)) {}
  explicit Bstr(const wchar_t* text) : Bstr(std::wstring_view(text)) {}
  Bstr(const Bstr& other);
  Bstr(Bstr&& other) noexcept;
  Bstr& operator=(Bstr other) noexcept;
  ~Bstr();

  void Attach(BSTR raw) noexcept;
  [[nodiscard]] BSTR Detach() noexcept;
  void Reset() noexcept;
  BSTR* Put() noexcept;  // frees what is held first

  BSTR Get() const noexcept { return value_; }
  // A new BSTR with the same text, for an out-parameter; the caller owns it.
  [[nodiscard]] BSTR Copy() const;

  std::size_t Length() const noexcept;
  std::wstring_view View() const noexcept { return {value_ == nullptr ? L"" : value_, Length()}; }
  std::string ToUtf8() const;

  bool operator==(const Bstr& other) const noexcept { return View() == other.View(); }

 private:
  BSTR value_ = nullptr;
};

}  // namespace qor::com
