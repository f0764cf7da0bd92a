#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/memory/memory_outlook.h"

namespace qor::host::memory {

// A mailbox file that cannot be read; the message names the file and the place in it.
class MailboxError : public std::runtime_error {
 public:
  explicit MailboxError(const std::string& message) : std::runtime_error(message) {}
};

// The JSON mailbox file described in docs/mailbox-format.md.
std::shared_ptr<MemoryOutlook> LoadMailbox(const std::filesystem::path& path);
// sourceName starts every error message.
std::shared_ptr<MemoryOutlook> ParseMailbox(std::string_view json, const std::string& sourceName);

// The stored state (pending contact edits are not saved); ParseMailbox(SerializeMailbox(x)) equals x.
std::string SerializeMailbox(const MemoryOutlook& outlook);
// Written to a temporary file and renamed over the target; throws std::runtime_error.
void SaveMailbox(const MemoryOutlook& outlook, const std::filesystem::path& path);

}  // namespace qor::host::memory
