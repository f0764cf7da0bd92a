#include <iconv.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/byte_order_mark.h"
#include "platform/text_file.h"

namespace qor::platform {
namespace {

// `bytes` in `encoding` as UTF-8 by iconv; null when they are no text in it.
std::optional<std::string> ToUtf8(std::string_view bytes, const char* encoding) {
  const iconv_t opened = iconv_open("UTF-8", encoding);
  if (opened == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no converter from " + std::string(encoding));
  const std::unique_ptr<void, int (*)(iconv_t)> converter(opened, &iconv_close);
  std::string out(bytes.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  std::size_t written = 0;
  while (inLeft > 0) {
    char* next = out.data() + written;
    std::size_t outLeft = out.size() - written;
    const std::size_t result = iconv(converter.get(), &in, &inLeft, &next, &outLeft);
    written = static_cast<std::size_t>(next - out.data());
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) return std::nullopt;  // an invalid or incomplete sequence
    out.resize(out.size() * 2);
  }
  out.resize(written);
  return out;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

void WriteTextFile(const std::filesystem::path& path, std::string_view text) { WriteFileAtomically(path, text); }

std::string ReadTextFile(const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  const MarkedText marked = SplitByteOrderMark(bytes);
  std::optional<std::string> text;
  switch (marked.encoding) {
    case TextEncoding::Plain:
    case TextEncoding::Utf8:
      text = ToUtf8(marked.body, "UTF-8");
      break;
    case TextEncoding::Utf16Le:
      text = ToUtf8(marked.body, "UTF-16LE");
      break;
    case TextEncoding::Utf16Be:
      text = ToUtf8(marked.body, "UTF-16BE");
      break;
  }
  if (!text) {
    throw std::runtime_error("cannot read " + PathToUtf8(path) + ": it is not valid " +
                             EncodingName(marked.encoding, "UTF-8 text"));
  }
  return std::move(*text);
}

}  // namespace qor::platform
