// The exclusion file as users and their editors leave it (UTF-8, with or without a byte-order mark,
// UTF-16 in either byte order, or no text at all), read through the real file: it either throws
// std::runtime_error or yields lines without breaks or NULs, every line then excludes the address
// it names, and a save that adds a line keeps every line the file held.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "engine/email_data.h"
#include "engine/exclusions.h"
#include "engine/list_model.h"
#include "engine/text.h"
#include "fuzz_check.h"
#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace {

using namespace qor::engine;

// Lines beyond this many only repeat the marking check.
constexpr std::size_t kMaxCheckedLines = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const qor::tests::TempFolder appFolder;
  static const std::string folder = qor::platform::PathToUtf8(appFolder.Path());
  const auto file = ExclusionFilePath(folder);
  // A new file each time: ext4 flushes a file truncated and rewritten when it is closed, which
  // would cut the speed forty-fold.
  std::filesystem::remove(file);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  StringListModel excluded{{"stale@example.com"}, 0};
  try {
    ReadExclusions(folder, excluded, ExclusionEdits());
  } catch (const std::runtime_error&) {
    return 0;
  }
  FUZZ_CHECK(excluded.itemIndex == -1);

  TEmailData table{{"nobody@example.invalid", "M0", "", std::string(kIncluded)}};
  for (const std::string& line : excluded.items) {
    FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    if (table.size() <= kMaxCheckedLines) table.push_back({LowerAscii(Trim(line)), "M", "", std::string(kIncluded)});
  }
  MarkExclusions(excluded, table);
  for (std::size_t i = 1; i < table.size(); ++i) FUZZ_CHECK(table[i][kExcluded] == kExcludedMark);

  // A save keeps every line the file held and adds the new one.
  const std::vector<std::string> before = excluded.items;
  ExclusionEdits edits;
  edits.Add("added@example.invalid");
  SaveExclusions(folder, excluded, edits);
  StringListModel reread;
  ReadExclusions(folder, reread, ExclusionEdits());
  const bool appended = reread.items.size() == before.size() + 1 &&
                        std::equal(before.begin(), before.end(), reread.items.begin()) &&
                        reread.items.back() == "added@example.invalid";
  FUZZ_CHECK(appended || reread.items == before);
  return 0;
}
