#include "outlook_image.h"

#include <filesystem>
#include <optional>

#include "com/com_error.h"
#include "platform/module_file_win32.h"
#include "platform/unique_any_win32.h"
#include "standin/outlook/outlook_driver.h"
#include "version_resource.h"

namespace qor::tools::qorhost {
namespace {

namespace fs = std::filesystem;

using UniqueHandle = platform::UniqueAny<HANDLE, &CloseHandle>;
// An update of a file's resources, discarded unless committed.
inline void DiscardResourceUpdate(HANDLE update) noexcept { EndUpdateResourceW(update, TRUE); }
using ResourceUpdate = platform::UniqueAny<HANDLE, &DiscardResourceUpdate>;

constexpr wchar_t kImageName[] = L"OUTLOOK.EXE";

[[noreturn]] void ThrowLastError(const std::string& what) {
  const HRESULT error = HRESULT_FROM_WIN32(GetLastError());
  throw com::ComError(error, what + ": " + com::HresultMessage(error));
}

bool IsImageName(const fs::path& path) { return lstrcmpiW(path.filename().c_str(), kImageName) == 0; }

std::optional<FILETIME> LastWriteTime(const fs::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return data.ftLastWriteTime;
}

// A copy carries the time of the program it was made from, so a rebuilt program is copied again.
bool IsCurrent(const fs::path& image, const fs::path& source, int majorVersion) {
  const auto imageTime = LastWriteTime(image);
  const auto sourceTime = LastWriteTime(source);
  return imageTime && sourceTime && CompareFileTime(&*imageTime, &*sourceTime) == 0 &&
         platform::FileMajorVersion(image.wstring()) == majorVersion;
}

void Stamp(const fs::path& file, int majorVersion) {
  const auto resource = OutlookVersionResource(standin::OutlookVersionText(majorVersion));
  ResourceUpdate update(BeginUpdateResourceW(file.c_str(), FALSE));
  if (!update) ThrowLastError("cannot open " + file.string() + " to stamp its version");
  if (!UpdateResourceW(update.Get(), RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), kVersionLanguage,
                       const_cast<BYTE*>(resource.data()), static_cast<DWORD>(resource.size())))
    ThrowLastError("cannot stamp the version of " + file.string());
  if (!EndUpdateResourceW(update.Release(), FALSE)) ThrowLastError("cannot write the version of " + file.string());
}

void CopyWriteTime(const fs::path& from, const fs::path& to) {
  const auto time = LastWriteTime(from);
  const UniqueHandle file(CreateFileW(to.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!time || file.Get() == INVALID_HANDLE_VALUE || !SetFileTime(file.Get(), nullptr, nullptr, &*time))
    ThrowLastError("cannot date " + to.string());
}

// The arguments of a command line after the program's name, which may be quoted.
const wchar_t* ArgumentsOf(const wchar_t* commandLine) {
  const wchar_t* p = commandLine;
  if (*p == L'"') {
    ++p;
    while (*p != L'\0' && *p != L'"') ++p;
    if (*p == L'"') ++p;
  } else {
    while (*p != L'\0' && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

}  // namespace

fs::path ProgramPath() { return fs::path(platform::ModuleFileName(nullptr)); }

bool RunsAsOutlook(int majorVersion) {
  const fs::path own = ProgramPath();
  return IsImageName(own) && platform::FileMajorVersion(own.wstring()) == majorVersion;
}

std::wstring PrepareOutlookImage(int majorVersion) {
  const fs::path own = ProgramPath();
  // A copy playing another version makes its siblings beside its own folder, not inside it.
  const fs::path base = IsImageName(own) ? own.parent_path().parent_path() : own.parent_path();
  const fs::path folder = base / (L"qorhost-outlook" + std::to_wstring(majorVersion));
  const fs::path image = folder / kImageName;
  if (IsCurrent(image, own, majorVersion)) return image.wstring();

  // Made under a name of its own and renamed into place, so parallel runs never see half a copy.
  // The name is claimed by creating the file: process ids repeat across Wine prefixes.
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  wchar_t claimed[MAX_PATH] = {};
  if (GetTempFileNameW(folder.c_str(), L"OUT", 0, claimed) == 0)
    ThrowLastError("cannot make a file in " + folder.string());
  const fs::path made = claimed;
  if (!CopyFileW(own.c_str(), made.c_str(), FALSE)) {
    DeleteFileW(made.c_str());
    ThrowLastError("cannot copy this program to " + made.string());
  }
  try {
    Stamp(made, majorVersion);
    CopyWriteTime(own, made);
  } catch (...) {
    DeleteFileW(made.c_str());
    throw;
  }
  // A current image another run put in place meanwhile stays: that run may be starting it, and
  // replacing a program while it loads fails the start. Only a stale image is replaced.
  if (MoveFileExW(made.c_str(), image.c_str(), 0)) return image.wstring();
  if (IsCurrent(image, own, majorVersion)) {
    DeleteFileW(made.c_str());
    return image.wstring();
  }
  if (!MoveFileExW(made.c_str(), image.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(made.c_str());
    // A running copy cannot be replaced; another run may just have made a current one.
    if (!IsCurrent(image, own, majorVersion)) ThrowLastError("cannot replace " + image.string());
  }
  return image.wstring();
}

DWORD RunImage(const std::wstring& image) {
  std::wstring commandLine = L"\"" + image + L"\" " + ArgumentsOf(GetCommandLineW());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(image.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    ThrowLastError("cannot start " + fs::path(image).string());
  }
  const UniqueHandle processHandle(process.hProcess);
  const UniqueHandle threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  return exitCode;
}

}  // namespace qor::tools::qorhost
