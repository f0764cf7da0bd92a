#include <nlohmann/json.hpp>

#include <system_error>

#include "platform/atomic_file.h"
#include "platform/services_native.h"

namespace qor::platform {
namespace {

// The stored object; a file another program mangled counts as holding no values.
nlohmann::json ReadObject(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error) && !error) return nlohmann::json::object();
  nlohmann::json stored = nlohmann::json::parse(ReadFileBytes(file), nullptr, false);
  return stored.is_object() ? stored : nlohmann::json::object();
}

}  // namespace

JsonSettingsStore::JsonSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::string JsonSettingsStore::ReadString(const std::string& name) {
  const nlohmann::json values = ReadObject(file_);
  const auto found = values.find(name);
  return found != values.end() && found->is_string() ? found->get<std::string>() : std::string();
}

void JsonSettingsStore::WriteString(const std::string& name, const std::string& value) {
  nlohmann::json values = ReadObject(file_);
  values[name] = value;
  // Like the registry key, the folder is made when missing; a failure shows in the write below.
  std::error_code ignored;
  std::filesystem::create_directories(file_.parent_path(), ignored);
  WriteFileAtomically(file_, values.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
}

}  // namespace qor::platform
