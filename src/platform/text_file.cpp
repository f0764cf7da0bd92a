#include "platform/text_file.h"

#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/text_codec.h"
#include "platform/text_encoding.h"

namespace qor::platform {

void WriteTextFile(const std::filesystem::path& path, std::string_view text) {
  WriteFileAtomically(path, detail::EncodeText(text));
}

std::string ReadTextFile(const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  const MarkedText marked = DetectTextEncoding(bytes);
  std::optional<std::string> text = detail::DecodeText(marked);
  if (!text) {
    throw std::runtime_error("cannot read " + PathToUtf8(path) + ": it is not valid " +
                             EncodingName(marked.encoding, detail::kPlainEncodingName));
  }
  // A NUL is no character of a text file: the file is damaged or holds something else, and a
  // caller that read it up to the NUL would save back less than it held.
  if (text->find('\0') != std::string::npos) {
    throw std::runtime_error("cannot read " + PathToUtf8(path) + ": it holds NUL bytes, so it is damaged or no text");
  }
  return std::move(*text);
}

}  // namespace qor::platform
