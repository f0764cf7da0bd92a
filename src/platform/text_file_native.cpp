#include <iconv.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/atomic_file.h"
#include "platform/text_codec.h"
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

namespace detail {

const char* const kPlainEncodingName = "UTF-8 text";

std::string EncodeText(std::string_view text) { return std::string(text); }

std::optional<std::string> DecodeText(const MarkedText& text) {
  switch (text.encoding) {
    case TextEncoding::Plain:
    case TextEncoding::Utf8:
      return ToUtf8(text.body, "UTF-8");
    case TextEncoding::Utf16Le:
      return ToUtf8(text.body, "UTF-16LE");
    case TextEncoding::Utf16Be:
      return ToUtf8(text.body, "UTF-16BE");
  }
  return std::nullopt;
}

}  // namespace detail

}  // namespace qor::platform
