#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace qor::tools {

// Writes what ExtractEMails returns for the bytes of `file` (standard input when absent); with
// `classify`, each address followed by its role, failure kind and status, tab-separated, as the
// bounce classifier reads the bytes as one message's body.
void RunExtract(const std::optional<std::string>& file, bool classify, std::ostream& out);

// Scans a folder of a mailbox file (by default the one its explorer shows) and writes the
// address table, one entry a line, its fields joined by tabs; with `classify`, each followed by
// the address's role, failure kind and status. `overCom`: see OpenEngineOutlook.
void RunScan(const std::string& mailbox, const std::optional<std::string>& folder, bool overCom, bool classify,
             std::ostream& out);

}  // namespace qor::tools
