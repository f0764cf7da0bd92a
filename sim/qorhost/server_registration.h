#pragma once

// What Outlook's setup leaves in the classes hive, by which add-in installers tell that Outlook is
// there: the ProgID Outlook.Application and its class with this program as the local server.
// Under Wine the classes hive is the machine's Software\Classes.

namespace qor::tools::qorhost {

void RegisterOutlookServer();
// Keys already gone are no error.
void UnregisterOutlookServer();

}  // namespace qor::tools::qorhost
