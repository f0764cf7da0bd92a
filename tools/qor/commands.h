#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace qor::tools {

// Writes what ExtractEMails returns for the bytes of `file` (standard input when absent).
void RunExtract(const std::optional<std::string>& file, std::ostream& out);

// Scans a folder of a mailbox file (by default the one its explorer shows) and writes the
// address table, one entry a line, its fields joined by tabs. `overCom`: see OpenEngineOutlook.
void RunScan(const std::string& mailbox, const std::optional<std::string>& folder, bool overCom, std::ostream& out);

}  // namespace qor::tools
