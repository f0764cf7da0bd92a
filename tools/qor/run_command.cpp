#include "run_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <stdexcept>

#include "engine/exclusions.h"
#include "engine/external_app.h"
#include "engine/folder_path.h"
#include "engine/folder_scan.h"
#include "engine/option_checks.h"
#include "engine/processing_run.h"
#include "host/memory/mailbox_file.h"
#include "outlook_source.h"
#include "platform/system_services.h"
#include "platform/text_file.h"
#include "run_checks.h"

namespace qor::tools {

namespace {

constexpr const char* kExtractingText = "Extracting bounce back e-mail addresses...";

// The progress page of a run without windows: every label on a line of its own.
class LabelPrinter : public engine::NullProgress {
 public:
  explicit LabelPrinter(std::ostream& err) : err_(err) {}
  void SetLabel(const std::string& text) override { err_ << text << '\n'; }

 private:
  std::ostream& err_;
};

// Message boxes of a console program: the text on standard error.
class ConsoleMessages : public platform::MessageBoxes {
 public:
  explicit ConsoleMessages(std::ostream& err) : err_(err) {}
  void Show(const std::string& text) override { err_ << text << '\n'; }

 private:
  std::ostream& err_;
};

// The date given with --date, for output that does not change from day to day.
class FixedDate : public platform::Clock {
 public:
  explicit FixedDate(std::string date) : date_(std::move(date)) {}
  std::string ShortDate() override { return date_; }

 private:
  std::string date_;
};

std::string ExplorerFolderPath(host::Application& outlook) {
  const auto explorer = outlook.ActiveExplorer();
  if (!explorer) throw UsageError("the mailbox shows no folder in an explorer: name one with --folder");
  return engine::GetFullFolderName(explorer->CurrentFolder());
}

// The exclude button's effect on an address typed on the command line.
void Exclude(const std::string& address, engine::StringListModel& excluded, engine::EngineContext& context) {
  engine::StringListModel found{{address}, 0};
  engine::btnExcludeClick(found, excluded, context.data, context.usersAppFolderPath);
}

int Run(const RunArguments& arguments, std::ostream& out, std::ostream& err) {
  const auto mailbox = host::memory::LoadMailbox(platform::PathFromUtf8(arguments.mailbox));
  const auto source = OpenEngineOutlook(mailbox, arguments.overCom);
  host::Application& outlook = source->Application();
  const std::string emailFolder = arguments.folder ? *arguments.folder : ExplorerFolderPath(outlook);
  engine::RunOptions options = OptionsFromArguments(arguments, emailFolder);

  const std::string appFolder =
      arguments.appFolder ? *arguments.appFolder : engine::MakeUsersAppFolderPath(*platform::CreateSpecialFolders());
  engine::CreateUsersAppFolder(appFolder);
  platform::SystemServices system(platform::PathFromUtf8(appFolder));
  ConsoleMessages messages(err);
  FixedDate fixedDate(arguments.date.value_or(""));
  platform::Services& real = system.Get();
  platform::Services services{real.settings, real.shell, real.folders, messages,
                              arguments.date ? static_cast<platform::Clock&>(fixedDate) : real.clock};
  LabelPrinter progress(err);
  engine::EngineContext context{outlook, engine::olEmailData(), progress, services, appFolder};

  // The first page's "Next >>", with the command line's exclusions made first.
  engine::StringListModel excluded;
  engine::ReadExclusions(appFolder, excluded);
  for (const auto& address : arguments.excludes) Exclude(address, excluded, context);
  progress.SetLabel(kExtractingText);
  engine::GetEmailAddressesFromFolder(outlook, emailFolder, context.data, progress);
  engine::MarkExclusions(excluded, context.data);
  for (const auto& entry : context.data) {
    if (entry[engine::kExcluded] == engine::kIncluded) out << entry[engine::kAddress] << '\n';
  }
  out.flush();

  // Ticking "Run external application" fills the boxes with the remembered texts first.
  if (options.executeApplication && !arguments.params) {
    options.parameters = engine::RestoreExePathAndParam(services.settings).exeParam;
  }
  auto refusal = PickFolders(outlook, options);
  if (!refusal) refusal = engine::CheckRunOptions(options);
  if (refusal) {
    err << *refusal << '\n';
    return kRefused;
  }

  try {
    engine::RunProcessing(context, options, excluded);
  } catch (...) {
    // What the run changed before it failed stays changed, as it would in Outlook.
    if (arguments.save) host::memory::SaveMailbox(*mailbox, platform::PathFromUtf8(*arguments.save));
    throw;
  }
  if (arguments.save) host::memory::SaveMailbox(*mailbox, platform::PathFromUtf8(*arguments.save));
  return 0;
}

}  // namespace

CLI::App* AddRunCommand(CLI::App& app, RunArguments& a) {
  auto* run = app.add_subcommand("run", "Scan a folder of MAILBOX and carry out the chosen actions");
  run->add_option("MAILBOX", a.mailbox, "Mailbox file (JSON)")->required();
  run->add_option("--folder", a.folder, "Mail folder to scan (default: the explorer's folder)");
  run->add_option("--app-folder", a.appFolder, "Folder of the exclusion and address files");
  run->add_option("--exclude", a.excludes, "Exclude an address for good (repeatable)");
  run->add_option("--contact-folder", a.contactFolders, "Contact folder to search (repeatable)");
  run->add_flag("--scan-contacts", a.scanContacts, "Scan Selected Contact Folders");
  run->add_option("--export", a.exportFile, "Export the addresses to this tab-delimited file");
  run->add_option("--contact-fields", a.contactFields, "Contact fields to export: name,company,phone");
  run->add_flag("--delete", a.deleteAddresses, "Delete the address from the matched contacts");
  run->add_flag("--cascade", a.cascade, "Move the contacts' remaining addresses up");
  run->add_flag("--notes", a.notes, "Add a note naming the address to the matched contacts");
  run->add_flag("--date-stamp", a.dateStamp, "Date the notes");
  run->add_option("--date", a.date, "Short date to stamp notes with (default: today)");
  run->add_option("--copy-contacts-to", a.copyContactsTo, "Copy the matched contacts to this contact folder");
  run->add_option("--move-contacts-to", a.moveContactsTo, "Move the matched contacts to this contact folder");
  run->add_option("--move-messages-to", a.moveMessagesTo, "Move the scanned messages to this mail folder");
  run->add_option("--run-program", a.runProgram, "Start this program on the address file");
  run->add_option("--params", a.params, "Parameters of the program; {QORFILE} names the address file");
  run->add_option("--save", a.save, "Write the changed mailbox to this file");
  return run;
}

int RunRun(const RunArguments& arguments, std::ostream& out, std::ostream& err) {
  try {
    return Run(arguments, out, err);
  } catch (const UsageError& e) {
    err << "qor: " << e.what() << '\n';
    return kRefused;
  }
}

}  // namespace qor::tools
