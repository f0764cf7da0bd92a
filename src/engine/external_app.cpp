#include "engine/external_app.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string_view>

#include "engine/export_file.h"
#include "engine/text.h"
#include "platform/atomic_file.h"

namespace qor::engine {

namespace {

constexpr std::string_view kEngineProgram = "KORVANEX.EXE";
constexpr std::string_view kPlaceholder = "{QORFILE}";
constexpr std::size_t kShortestParameters = 3;

// The text after the last path delimiter.
std::string_view FileNamePart(std::string_view path) {
  const auto delimiter = path.find_last_of("\\/:");
  return delimiter == std::string_view::npos ? path : path.substr(delimiter + 1);
}

// Characters, not bytes: a typed "é" is one character to the user.
std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

// Every occurrence of the placeholder in any letter case; the replacement is not searched again.
// A path holding a blank is put in quotes, so that the program gets it as one argument, unless
// the typed text already stands it inside quotes (an odd number of them before it).
std::string ReplacePlaceholder(const std::string& text, const std::string& path) {
  const bool needsQuotes = path.find_first_of(" \t") != std::string::npos;
  // Upper-casing touches only A to Z, so positions in `upper` are positions in `text`.
  const std::string upper = UpperAscii(text);
  std::string result;
  std::size_t start = 0;
  bool quoted = false;
  for (auto found = upper.find(kPlaceholder); found != std::string::npos; found = upper.find(kPlaceholder, start)) {
    const std::string_view before(text.data() + start, found - start);
    quoted = quoted != (std::count(before.begin(), before.end(), '"') % 2 != 0);
    result += before;
    result += needsQuotes && !quoted ? '"' + path + '"' : path;
    start = found + kPlaceholder.size();
  }
  result.append(text, start);
  return result;
}

}  // namespace

std::string BuildParameters(const std::string& exepath, const std::string& exeparam,
                            const std::string& usersAppFolderPath) {
  const std::string addressFile = platform::PathToUtf8(AddressFilePath(usersAppFolderPath));
  if (CharacterCount(Trim(exeparam)) < kShortestParameters) {
    if (UpperAscii(FileNamePart(exepath)) != kEngineProgram) return {};
    return " p:default o:3 \"f:" + addressFile + "\" a:interactive";
  }
  return ReplacePlaceholder(exeparam, addressFile);
}

void ExecuteApplication(EngineContext& context, const std::string& exepath, const std::string& exeparam) {
  try {
    context.services.shell.Open(exepath, BuildParameters(exepath, exeparam, context.usersAppFolderPath));
  } catch (const std::runtime_error& error) {
    context.services.messages.ShowError("Cannot start \"" + exepath + "\": " + error.what());
  }
}

void SaveExePathAndParam(platform::SettingsStore& settings, const ExeSettings& values) {
  settings.WriteString("ExePath", values.exePath);
  settings.WriteString("ExeParam", values.exeParam);
}

ExeSettings RestoreExePathAndParam(platform::SettingsStore& settings) {
  ExeSettings values;
  values.exePath = settings.ReadString("ExePath");
  values.exeParam = settings.ReadString("ExeParam");
  return values;
}

}  // namespace qor::engine
