#pragma once

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace qor::tests {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            ("qor-test-" + std::to_string(device()) + "-" + std::to_string(counter.fetch_add(1)));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace qor::tests
