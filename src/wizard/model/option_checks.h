#pragma once

// The wizard's refusals: the checks of the contact folders and options pages, and the pickers'
// answers to a folder of the wrong kind or one already in use.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_options.h"
#include "host/outlook.h"
#include "wizard/model/wizard_services.h"

namespace qor::wizard {

// The caption of a plain message box: the application's title.
inline constexpr const char* kPlainCaption = "QOR for Outlook";

// A message the wizard shows instead of taking the user's choice; always with an OK button.
struct Refusal {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::None;

  bool operator==(const Refusal&) const = default;
};

// The contact folders page: scanning is ticked but no folder is listed.
std::optional<Refusal> CheckContactFolderList(const engine::RunOptions& options);

// The options page's checks, in order; the first refusal, or nothing.
std::optional<Refusal> CheckRunOptions(const engine::RunOptions& options);

// The pickers' refusals for a folder the user chose, or nothing when it is taken.
std::optional<Refusal> CheckContactFolderPick(host::Folder& folder);
std::optional<Refusal> CheckMailDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                const std::string& emailFolder);
std::optional<Refusal> CheckContactDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                   const std::vector<std::string>& contactFolders);

// True when `list` holds `path`, ignoring letter case in every script.
bool HoldsFolderPath(const std::vector<std::string>& list, const std::string& path);

}  // namespace qor::wizard
