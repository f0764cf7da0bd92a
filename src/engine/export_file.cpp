#include "engine/export_file.h"

#include <string_view>

#include "engine/contact_matching.h"
#include "engine/linked_contacts.h"
#include "engine/text.h"
#include "platform/diagnostics.h"
#include "platform/text_file.h"

namespace qor::engine {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AddLine(std::string& lines, std::string_view line) {
  lines += line;
  lines += kLineEnd;
}

std::string HeaderLine(const RunOptions& options) {
  std::string header = "E-mail Address";
  if (!options.exportContactFields) return header;
  header += "\tSource Contact Folder";
  if (options.exportName) header += "\tFullName";
  if (options.exportCompany) header += "\tCompany";
  if (options.exportPhone) header += "\tPhone";
  return header;
}

// One line per contact found; an entry without matched contacts keeps its address and four empty fields.
void AddContactLines(const EngineContext& context, const RunOptions& options, const TEmailEntry& entry,
                     std::string& lines) {
  const std::string& address = entry[kAddress];
  if (!HasLinkedContacts(entry[kLinkedContacts])) {
    AddLine(lines, address + "\t\t\t\t");
    return;
  }
  for (const ContactGroup& group : SplitLinkedContacts(entry[kLinkedContacts])) {
    for (const std::string& entryId : group.entryIds) {
      const auto contact = GetContactInfo(context, group.folderPath, entryId);
      if (!contact) continue;
      std::string line = address + "\t" + Trim(group.folderPath);
      if (options.exportName) line += "\t" + contact->FullName();
      if (options.exportCompany) line += "\t" + contact->CompanyName();
      if (options.exportPhone) line += "\t" + contact->BusinessTelephoneNumber();
      AddLine(lines, line);
    }
  }
}

// Runs `gather`, then writes what it gathered even when it failed part way; the gathering's error
// is the one that goes on, since it names the cause.
template <typename Gather>
void GatherAndWrite(const std::filesystem::path& path, std::string& lines, Gather&& gather) {
  try {
    gather();
  } catch (...) {
    try {
      platform::WriteTextFile(path, lines);
    } catch (const std::exception& error) {
      platform::diagnostics::RecordError(platform::diagnostics::Kind::Ignored, "GatherAndWrite", 0, error.what());
    }
    throw;
  }
  platform::WriteTextFile(path, lines);
}

}  // namespace

void ExportToTabFile(EngineContext& context, const RunOptions& options) {
  const auto path = platform::PathFromUtf8(options.tabFilePath);
  std::string lines;
  AddLine(lines, HeaderLine(options));
  StartProgress(context.progress, "Exporting...", static_cast<int>(context.data.size()));

  GatherAndWrite(path, lines, [&] {
    for (const TEmailEntry& entry : context.data) {
      StepProgress(context.progress);
      if (!TakesPart(entry, MarkReading::TrimmedUpper)) continue;
      if (options.exportContactFields) {
        AddContactLines(context, options, entry, lines);
      } else {
        AddLine(lines, entry[kAddress]);
      }
    }
  });
}

void ExportEmailAddressOnly(EngineContext& context) {
  const auto path = AddressFilePath(context.usersAppFolderPath);
  std::string lines;
  AddLine(lines, "E-mail Address");
  StartProgress(context.progress, "Capturing E-mail data...", static_cast<int>(context.data.size()));

  GatherAndWrite(path, lines, [&] {
    for (const TEmailEntry& entry : context.data) {
      StepProgress(context.progress);
      if (TakesPart(entry, MarkReading::TrimmedUpper)) AddLine(lines, entry[kAddress]);
    }
  });
}

std::filesystem::path AddressFilePath(const std::string& usersAppFolderPath) {
  return platform::PathFromUtf8(usersAppFolderPath) / "olqor.txt";
}

}  // namespace qor::engine
