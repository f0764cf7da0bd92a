// Replays fuzz inputs without libFuzzer, so the normal build and CTest run every target over its
// corpus: each file under the folders named on the command line (or each file named) goes once
// through LLVMFuzzerTestOneInput, after the empty input libFuzzer always tries first.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "fuzz_check.h"

namespace {

std::vector<std::filesystem::path> InputFiles(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path argument(argv[i]);
    if (!std::filesystem::is_directory(argument)) {
      files.push_back(argument);
      continue;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argument)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  const auto files = InputFiles(argc, argv);
  if (files.empty()) {
    std::cerr << "usage: " << argv[0] << " FOLDER-OR-FILE...: no inputs found\n";
    return 2;
  }
  LLVMFuzzerTestOneInput(nullptr, 0);
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::cerr << "cannot open " << file << '\n';
      return 2;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << files.size() << " inputs replayed\n";
  return 0;
}
