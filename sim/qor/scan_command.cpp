#include <stdexcept>

#include "commands.h"
#include "engine/folder_path.h"
#include "engine/folder_scan.h"
#include "host/memory/mailbox_file.h"
#include "outlook_source.h"
#include "platform/text_file.h"

namespace qor::tools {

namespace {

std::string ActiveExplorerPath(host::Application& outlook) {
  const auto explorer = outlook.ActiveExplorer();
  if (!explorer) throw std::runtime_error("the mailbox shows no folder in an explorer: name one with --folder");
  return engine::GetFullFolderName(explorer->CurrentFolder());
}

// The scan treats a path that names no folder as an empty folder; on the command line that is
// a mistake worth saying.
void CheckFolder(host::Application& outlook, const std::string& path) {
  try {
    if (engine::GetMapiFolder(outlook, path)) return;
  } catch (const host::HostError& e) {
    throw std::runtime_error("cannot open folder \"" + path + "\": " + e.what());
  }
  throw std::runtime_error("cannot open folder \"" + path + "\"");
}

}  // namespace

void RunScan(const std::string& mailbox, const std::optional<std::string>& folder, bool overCom, bool classify,
             std::ostream& out) {
  const auto source = OpenEngineOutlook(host::memory::LoadMailbox(platform::PathFromUtf8(mailbox)), overCom);
  host::Application& outlook = source->Application();
  const std::string path = folder ? *folder : ActiveExplorerPath(outlook);
  CheckFolder(outlook, path);

  engine::TEmailData& data = engine::olEmailData();
  engine::NullProgress progress;
  engine::BounceReport report;
  engine::GetEmailAddressesFromFolder(outlook, path, data, progress, nullptr, classify ? &report : nullptr);
  for (std::size_t row = 0; row < data.size(); ++row) {
    const auto& entry = data[row];
    out << entry[0] << '\t' << entry[1] << '\t' << entry[2] << '\t' << entry[3];
    if (classify) {
      const auto& finding = report.Finding(row);
      out << '\t' << engine::RoleName(finding.role) << '\t' << engine::KindName(finding.kind) << '\t'
          << (finding.status.empty() ? "-" : finding.status);
    }
    out << '\n';
  }
}

}  // namespace qor::tools
