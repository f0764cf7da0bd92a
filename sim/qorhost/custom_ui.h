#pragma once

// What Outlook reads in the customUI documents add-ins return, and which ribbon an inspector shows.

#include <ostream>
#include <string>

#include "host/outlook.h"

namespace qor::tools::qorhost {

inline constexpr char kExplorerRibbon[] = "Microsoft.Outlook.Explorer";

// The call-back the document's customUI root element names in its onLoad attribute; empty when none
// or when the document is not well-formed.
std::string OnLoadCallback(const std::string& document);

// The ribbon an inspector of `item` shows; empty for a note, whose window has no ribbon. Stored
// mail is received mail, read in Microsoft.Outlook.Mail.Read.
std::string InspectorRibbon(const host::Item& item);

// The document's lines (LF or CR LF), each followed by LF.
void PrintLines(const std::string& document, std::ostream& out);

}  // namespace qor::tools::qorhost
