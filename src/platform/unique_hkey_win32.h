#pragma once

#include <windows.h>

#include <utility>

namespace qor::platform {

// Owns one open registry key.
class UniqueHkey {
 public:
  UniqueHkey() = default;
  explicit UniqueHkey(HKEY key) : key_(key) {}
  ~UniqueHkey() { Reset(); }
  UniqueHkey(UniqueHkey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  UniqueHkey& operator=(UniqueHkey&& other) noexcept {
    if (this != &other) {
      Reset();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  UniqueHkey(const UniqueHkey&) = delete;
  UniqueHkey& operator=(const UniqueHkey&) = delete;

  HKEY Get() const { return key_; }
  // Closes the key held and hands out the slot for a function that opens one.
  HKEY* Put() {
    Reset();
    return &key_;
  }
  void Reset() {
    if (key_ != nullptr) RegCloseKey(std::exchange(key_, nullptr));
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace qor::platform
