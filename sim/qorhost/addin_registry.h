#pragma once

// Where Outlook finds its COM add-ins: a key per ProgID under Software\Microsoft\Office\Outlook\AddIns
// of the user's hive and of the machine's.

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace qor::tools::qorhost {

struct AddinRegistration {
  std::string progId{};
  HKEY hive;  // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
  DWORD loadBehavior = 0;
  bool requireShutdownNotification = false;
  std::string friendlyName{};
};

// Those of the user's hive, then those of the machine's not already seen, each hive in key order.
std::vector<AddinRegistration> ReadAddinRegistrations();

// The user has turned Outlook's fast shutdown off for add-ins (AddinFastShutdownBehavior = 1).
bool FastShutdownDisabled(int majorVersion);

// What the COM add-ins dialog writes when the user ticks (3) or clears (2) an add-in.
void WriteLoadBehavior(const AddinRegistration& addin, DWORD value);

// The values of the add-in's key in the user's hive as NAME=VALUE lines sorted by name, then a
// `subkey NAME` line for each subkey. False when there is no such key.
bool PrintAddinKey(const std::string& progId, std::ostream& out);

}  // namespace qor::tools::qorhost
