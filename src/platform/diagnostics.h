#pragma once

// The diagnostics log: what the add-in did at start-up and shutdown, and each error it showed,
// handed to a caller or passed over, so that a user can send us what happened. Records are kept
// in memory, the latest few hundred, and written to the log file only when an error fails a call
// or reaches the user, on shutdown, and when the user asks: loading the add-in opens no file.
// The file is capped: past 1 MB it becomes the old log, replacing the one before, so at most two
// files of 1 MB are kept. Safe to use from any thread; nothing here throws.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qor::platform::diagnostics {

enum class Kind {
  Note,     // start-up, shutdown, what the user asked for
  Ignored,  // an error the design passes over: kept in memory
  Failed,   // an error that failed a call or reached the user: written out at once
};

// Records one line of text with the time.
void Record(Kind kind, std::string_view text) noexcept;
// Records an error of `where` ("TadxAddin.OnConnection"): its code (an HRESULT, or 0 for
// none) and message.
void RecordError(Kind kind, std::string_view where, long code, std::string_view message) noexcept;

// Where the records go from now on: the log file (empty for none; its folder is made when the
// file is first written), and a stream that gets each record as it comes (qor --verbose).
void SetLogFile(const std::filesystem::path& file) noexcept;
void SetEcho(std::ostream* stream) noexcept;
// The log file set, empty when none is.
std::filesystem::path LogFile();

// Writes the records not written yet; false when there is no log file or it cannot be written.
bool Flush() noexcept;
// The records kept in memory, oldest first, as written.
std::vector<std::string> Recent();
// How many failures (Kind::Failed) were recorded since the start, or since Forget.
std::size_t ErrorCount() noexcept;
// Forgets every record and error count, and the file and echo set (tests).
void Forget() noexcept;

// The size past which the file becomes the old log, and the old log's name beside it
// ("qor.log" -> "qor.old.log").
inline constexpr std::uintmax_t kLogFileLimit = 1u << 20;
std::filesystem::path OldLogFile(const std::filesystem::path& file);

}  // namespace qor::platform::diagnostics
