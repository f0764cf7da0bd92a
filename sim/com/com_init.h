#pragma once

// COM on the current thread for the lifetime of one object: programs and tests. An add-in never
// needs it; its host has initialised COM long before.

#include <objbase.h>

namespace qor::com {

class ComInit {
 public:
  // Throws ComError, also when the thread already runs in the other apartment model.
  explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED);
  ~ComInit();
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
};

}  // namespace qor::com
