#include <windows.h>

#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/unique_any_win32.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {
namespace {

// Runs one step of a save unless the test seam fails it; throws with the system's message when it
// fails.
template <class Operation>
void Step(SaveStep step, const std::string& failure, Operation&& operation) {
  DWORD code = ERROR_WRITE_FAULT;
  if (!detail::SaveFailsAt(step)) {
    if (operation()) return;
    code = GetLastError();
  }
  throw std::runtime_error(failure + WindowsErrorMessage(code));
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  detail::RemoveStaleTemporaries(path);
  const std::filesystem::path temporary = detail::TemporaryPathFor(path);
  const std::string failure = "cannot write " + PathToUtf8(path) + ": ";
  // A replaced file keeps its attributes (hidden, say); a new one gets the usual ones.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool replacing = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;

  UniqueAny<HANDLE, &CloseHandle> file;
  Step(SaveStep::CreateTemporary, failure + "cannot create a temporary file beside it: ", [&] {
    const HANDLE created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       replacing ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return false;
    file.Reset(created);
    return true;
  });
  try {
    Step(SaveStep::Write, failure, [&] { return WriteAll(file.Get(), bytes); });
    Step(SaveStep::Flush, failure, [&] { return FlushFileBuffers(file.Get()) != FALSE; });
    file.Reset();
    Step(SaveStep::Replace, failure + "cannot replace it: ", [&] {
      return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
  } catch (...) {
    file.Reset();
    DeleteFileW(temporary.c_str());
    throw;
  }
  // Write-through covers the folder entry; the step is here so both builds fail at the same places.
  Step(SaveStep::SyncFolder,
       failure + "the new file is in place, but its folder entry may not be: ", [] { return true; });
}

}  // namespace qor::platform
