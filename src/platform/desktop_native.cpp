// The small portable services: the documents folder, messages and the date.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <stdexcept>

#include "platform/services_native.h"

namespace qor::platform {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::locale EnvironmentLocale() {
  try {
    return std::locale("");
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}

// Wide text holds code points here, whatever byte encoding the environment's locale uses.
std::string Utf8FromCodePoints(const std::wstring& text) {
  std::string utf8;
  for (const wchar_t character : text) {
    auto c = static_cast<char32_t>(character);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

}  // namespace

std::string EnvironmentSpecialFolders::CommonDocuments() {
  const std::string documents = Environment("XDG_DOCUMENTS_DIR");
  if (!documents.empty()) return documents;
  const std::string home = Environment("HOME");
  return home.empty() ? std::string() : home + "/Documents";
}

void StderrMessageBoxes::Show(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

std::string LocaleClock::ShortDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::wostringstream date;
  date.imbue(EnvironmentLocale());
  date << std::put_time(&local, L"%x");
  return Utf8FromCodePoints(date.str());
}

}  // namespace qor::platform
