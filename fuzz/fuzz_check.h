#pragma once

// What every fuzz target shares: the entry point libFuzzer and the replay driver call, and a check
// that stops the run on a broken property, so the fuzzer keeps the input that broke it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace qor::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
  std::abort();
}

}  // namespace qor::fuzz

#define FUZZ_CHECK(condition) ((condition) ? static_cast<void>(0) : ::qor::fuzz::Broken(#condition, __FILE__, __LINE__))
