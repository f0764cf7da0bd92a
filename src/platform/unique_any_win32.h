#pragma once

#include <windows.h>

#include <utility>

namespace qor::platform {

// Owns one Windows handle and closes it with `Close` when it goes; T{} means none.
template <typename T, auto Close>
class UniqueAny {
 public:
  UniqueAny() = default;
  explicit UniqueAny(T value) noexcept : value_(value) {}
  ~UniqueAny() { Reset(); }
  UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, T{})) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.value_, T{}));
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;

  T Get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != T{}; }
  // Closes the handle held and hands out the slot for a function that opens one.
  T* Put() noexcept {
    Reset();
    return &value_;
  }
  void Reset(T value = T{}) noexcept {
    if (value_ != T{}) Close(value_);
    value_ = value;
  }

 private:
  T value_{};
};

using UniqueHkey = UniqueAny<HKEY, &RegCloseKey>;
using UniqueHwnd = UniqueAny<HWND, &DestroyWindow>;
using UniqueHfont = UniqueAny<HFONT, &DeleteObject>;
using UniqueHbrush = UniqueAny<HBRUSH, &DeleteObject>;
using UniqueHicon = UniqueAny<HICON, &DestroyIcon>;

}  // namespace qor::platform
