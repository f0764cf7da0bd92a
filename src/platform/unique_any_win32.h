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
  // Hands the handle over to whoever takes it on; this owner holds none afterwards.
  T Release() noexcept { return std::exchange(value_, T{}); }
  void Reset(T value = T{}) noexcept {
    if (value_ != T{}) Close(value_);
    value_ = value;
  }

 private:
  T value_{};
};

inline void ReleaseScreenDc(HDC dc) noexcept { ReleaseDC(nullptr, dc); }

using UniqueHkey = UniqueAny<HKEY, &RegCloseKey>;
using UniqueHwnd = UniqueAny<HWND, &DestroyWindow>;
using UniqueHfont = UniqueAny<HFONT, &DeleteObject>;
using UniqueHbrush = UniqueAny<HBRUSH, &DeleteObject>;
using UniqueHpen = UniqueAny<HPEN, &DeleteObject>;
using UniqueHbitmap = UniqueAny<HBITMAP, &DeleteObject>;
using UniqueHrgn = UniqueAny<HRGN, &DeleteObject>;
using UniqueHicon = UniqueAny<HICON, &DestroyIcon>;
// A device context of our own (CreateCompatibleDC), and the screen's (GetDC(nullptr)).
using UniqueMemoryDc = UniqueAny<HDC, &DeleteDC>;
using UniqueScreenDc = UniqueAny<HDC, &ReleaseScreenDc>;

// A window's device context (GetDC(window)), released to the window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a device context for as long as it lives; a bitmap, pen or brush can
// be deleted only once it is no longer selected.
class GdiSelection {
 public:
  GdiSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
  ~GdiSelection() {
    if (*this) SelectObject(dc_, old_);
  }
  GdiSelection(const GdiSelection&) = delete;
  GdiSelection& operator=(const GdiSelection&) = delete;

  explicit operator bool() const noexcept { return old_ != nullptr && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace qor::platform
