#include "version_resource.h"

#include <array>
#include <cstring>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "com/utf.h"

namespace qor::tools::qorhost {
namespace {

// Writes the nested nodes of a version resource: each is wLength, wValueLength, wType, its key,
// its value and its children, every part starting on a 32-bit boundary.
class VersionWriter {
 public:
  void Node(std::wstring_view key, const void* value, std::size_t valueBytes, bool text,
            const std::function<void()>& children = {}) {
    Align();
    const std::size_t start = bytes_.size();
    Word(0);
    Word(static_cast<WORD>(text ? valueBytes / sizeof(wchar_t) : valueBytes));
    Word(text ? 1 : 0);
    Append(key.data(), key.size() * sizeof(wchar_t));
    Word(0);
    Align();
    Append(value, valueBytes);
    if (children) children();
    const auto length = static_cast<WORD>(bytes_.size() - start);
    std::memcpy(bytes_.data() + start, &length, sizeof length);
  }
  void TextNode(std::wstring_view key, const std::wstring& value) {
    Node(key, value.c_str(), (value.size() + 1) * sizeof(wchar_t), true);
  }
  std::vector<BYTE> Take() { return std::move(bytes_); }

 private:
  void Word(WORD value) { Append(&value, sizeof value); }
  void Append(const void* data, std::size_t size) {
    const auto* first = static_cast<const BYTE*>(data);
    bytes_.insert(bytes_.end(), first, first + size);
  }
  void Align() { bytes_.resize((bytes_.size() + 3) & ~std::size_t{3}); }

  std::vector<BYTE> bytes_;
};

std::array<WORD, 4> VersionParts(const std::string& versionText) {
  std::array<WORD, 4> parts{};
  std::istringstream in(versionText);
  for (auto& part : parts) {
    unsigned value = 0;
    if (!(in >> value) || value > 0xFFFF) throw std::invalid_argument("not a version: " + versionText);
    part = static_cast<WORD>(value);
    in.ignore(1, '.');
  }
  return parts;
}

}  // namespace

std::vector<BYTE> OutlookVersionResource(const std::string& versionText) {
  const auto parts = VersionParts(versionText);
  VS_FIXEDFILEINFO fixed{};
  fixed.dwSignature = VS_FFI_SIGNATURE;
  fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
  fixed.dwFileVersionMS = fixed.dwProductVersionMS = MAKELONG(parts[1], parts[0]);
  fixed.dwFileVersionLS = fixed.dwProductVersionLS = MAKELONG(parts[3], parts[2]);
  fixed.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
  fixed.dwFileOS = VOS_NT_WINDOWS32;
  fixed.dwFileType = VFT_APP;

  const std::wstring version = com::ToUtf16(versionText);
  const std::array<WORD, 2> translation{kVersionLanguage, 1200};  // UTF-16 strings
  VersionWriter writer;
  writer.Node(L"VS_VERSION_INFO", &fixed, sizeof fixed, false, [&] {
    writer.Node(L"StringFileInfo", nullptr, 0, true, [&] {
      writer.Node(L"040904B0", nullptr, 0, true, [&] {
        writer.TextNode(L"FileDescription", L"Microsoft Outlook (QOR stand-in)");
        writer.TextNode(L"FileVersion", version);
        writer.TextNode(L"InternalName", L"Outlook");
        writer.TextNode(L"OriginalFilename", L"Outlook.exe");
        writer.TextNode(L"ProductName", L"Microsoft Outlook");
        writer.TextNode(L"ProductVersion", version);
      });
    });
    writer.Node(L"VarFileInfo", nullptr, 0, true,
                [&] { writer.Node(L"Translation", translation.data(), sizeof translation, false); });
  });
  return writer.Take();
}

}  // namespace qor::tools::qorhost
