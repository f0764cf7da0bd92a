#pragma once

// Include in one source file of a test program: it replaces the program's global operator new
// and delete with ones that count allocations and the bytes held, for tests of what code
// allocates.

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace qor::tests::heap {

inline std::atomic<long> allocations{0};
inline std::atomic<std::size_t> held{0};
inline std::atomic<std::size_t> peak{0};

// Starts a new peak from what is held now.
inline void ResetPeak() { peak = held.load(); }

// Each block carries its size in front, so the unsized delete knows what it frees.
constexpr std::size_t kHeader = alignof(std::max_align_t);

}  // namespace qor::tests::heap

void* operator new(std::size_t size) {
  namespace heap = qor::tests::heap;
  auto* block = static_cast<unsigned char*>(std::malloc(heap::kHeader + size));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  ++heap::allocations;
  const std::size_t now = heap::held += size;
  for (std::size_t top = heap::peak; now > top && !heap::peak.compare_exchange_weak(top, now);) {
  }
  return block + heap::kHeader;
}

void operator delete(void* memory) noexcept {
  namespace heap = qor::tests::heap;
  if (memory == nullptr) return;
  auto* block = static_cast<unsigned char*>(memory) - heap::kHeader;
  heap::held -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }
