#include "platform/diagnostics.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <fstream>
#include <mutex>
#include <system_error>

namespace qor::platform::diagnostics {

namespace {

// Records kept in memory; older ones are dropped, written or not.
constexpr std::size_t kKeptRecords = 500;

struct State {
  std::mutex mutex;
  std::deque<std::string> records;
  std::size_t unwritten = 0;  // the newest records not yet in the file
  std::size_t errors = 0;
  std::filesystem::path file;
  std::ostream* echo = nullptr;
};

State& TheState() {
  static State state;
  return state;
}

// "2026-12-10 14:03:01Z".
std::string Now() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%SZ", &utc);
  return text;
}

std::string_view KindName(Kind kind) {
  switch (kind) {
    case Kind::Note: return "note";
    case Kind::Ignored: return "passed over";
    case Kind::Failed: return "error";
  }
  return "";
}

// Appends the unwritten records to the file, starting a new one past the limit. Under the lock.
bool WriteUnwritten(State& state) {
  if (state.file.empty()) return false;
  if (state.unwritten == 0) return true;
  std::error_code error;
  std::filesystem::create_directories(state.file.parent_path(), error);
  const std::uintmax_t size = std::filesystem::file_size(state.file, error);
  if (!error && size >= kLogFileLimit) std::filesystem::rename(state.file, OldLogFile(state.file), error);
  std::ofstream out(state.file, std::ios::binary | std::ios::app);
  for (auto record = state.records.end() - static_cast<std::ptrdiff_t>(state.unwritten);
       record != state.records.end(); ++record) {
    out << *record << "\r\n";
  }
  out.flush();
  if (!out) return false;
  state.unwritten = 0;
  return true;
}

}  // namespace

void Record(Kind kind, std::string_view text) noexcept {
  State& state = TheState();
  try {
    std::string line = Now() + " " + std::string(KindName(kind)) + ": " + std::string(text);
    const std::lock_guard lock(state.mutex);
    if (kind == Kind::Failed) ++state.errors;
    if (state.echo != nullptr) *state.echo << line << std::endl;
    state.records.push_back(std::move(line));
    state.unwritten = std::min(state.unwritten + 1, kKeptRecords);
    if (state.records.size() > kKeptRecords) state.records.pop_front();
    if (kind == Kind::Failed) WriteUnwritten(state);
  } catch (...) {
    // No memory for the record, or a stream that throws: the record is lost, not the caller.
  }
}

void RecordError(Kind kind, std::string_view where, long code, std::string_view message) noexcept {
  try {
    char hex[16] = "";
    const auto bits = static_cast<unsigned long>(static_cast<std::uint32_t>(code));
    if (code != 0) std::snprintf(hex, sizeof hex, "0x%08lX ", bits);
    Record(kind, std::string(where) + ": " + hex + std::string(message));
  } catch (...) {
    Record(kind, where);  // no memory for the message: the place alone
  }
}

void SetLogFile(const std::filesystem::path& file) noexcept {
  State& state = TheState();
  const std::lock_guard lock(state.mutex);
  try {
    state.file = file;
  } catch (...) {
    state.file.clear();
  }
}

void SetEcho(std::ostream* stream) noexcept {
  State& state = TheState();
  const std::lock_guard lock(state.mutex);
  state.echo = stream;
}

std::filesystem::path LogFile() {
  State& state = TheState();
  const std::lock_guard lock(state.mutex);
  return state.file;
}

bool Flush() noexcept {
  State& state = TheState();
  try {
    const std::lock_guard lock(state.mutex);
    return WriteUnwritten(state);
  } catch (...) {
    return false;
  }
}

std::vector<std::string> Recent() {
  State& state = TheState();
  const std::lock_guard lock(state.mutex);
  return {state.records.begin(), state.records.end()};
}

std::size_t ErrorCount() noexcept {
  State& state = TheState();
  const std::lock_guard lock(state.mutex);
  return state.errors;
}

void Forget() noexcept {
  State& state = TheState();
  const std::lock_guard lock(state.mutex);
  state.records.clear();
  state.unwritten = 0;
  state.errors = 0;
  state.file.clear();
  state.echo = nullptr;
}

std::filesystem::path OldLogFile(const std::filesystem::path& file) {
  std::filesystem::path old = file;
  return old.replace_extension(std::filesystem::path(".old") += file.extension());
}

}  // namespace qor::platform::diagnostics
