#pragma once

// What qorhost's window procedures caught while handling a message (they must not let it escape
// into the system's loop), kept for whoever sent the message or runs the loop.

#include <exception>
#include <utility>

namespace qor::tools::qorhost {

class WindowFailures {
 public:
  // Inside a catch block: keeps the exception being handled; a later one replaces it.
  void Catch() noexcept { failure_ = std::current_exception(); }
  // Rethrows, once, what was caught.
  void Rethrow() {
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

 private:
  std::exception_ptr failure_;
};

}  // namespace qor::tools::qorhost
