// `qor run`: the wizard driven headlessly, the options becoming the clicks and answers a user
// would give. The wizard's own rules decide what it accepts.
#include "run_command.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "engine/text.h"
#include "run_checks.h"
#include "wizard/model/frm_qor_main.h"
#include "wizard/script/script_answers.h"
#include "wizard_session.h"

namespace qor::tools {

namespace {

using wizard::MessageButtons;
using wizard::MessageIcon;
using wizard::MessageResult;

constexpr const char* kNeedsScan = "--scan-contacts: the wizard offers it only when contact folders are scanned";

// The progress page of a run without windows: every label on a line of its own.
class LabelPrinter : public engine::NullProgress {
 public:
  explicit LabelPrinter(std::ostream& err) : err_(err) {}
  void SetLabel(const std::string& text) override { err_ << text << '\n'; }

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

// Message boxes of a console program: the text on standard error. An error the wizard shows
// ends the run, so it is kept for the caller to report.
class RunMessages : public wizard::MessageService {
 public:
  explicit RunMessages(std::ostream& err) : err_(err) {}
  MessageResult Show(const wizard::MessageRequest& request) override {
    if (request.icon == MessageIcon::Error) {
      error = request.text;
    } else {
      err_ << request.text << '\n';
      ++shown;
    }
    return request.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
  }

  std::optional<std::string> error;
  int shown = 0;

 private:
  std::ostream& err_;
};

// The user at the wizard. A click the wizard does not allow names the option that asked for it.
class RunUser {
 public:
  RunUser(wizard::TfrmQORMain& form, RunMessages& messages) : form_(form), messages_(messages) {}

  void Click(wizard::Control& control, const std::string& option, const std::string& needs = {}) {
    Require(form_.UserClick(control), option, needs);
  }
  void ClickName(const std::string& name, const std::string& option, const std::string& needs) {
    Click(*form_.FindControl(name), option, needs);
  }
  void Type(wizard::Edit& edit, const std::string& text, const std::string& option, const std::string& needs) {
    Require(form_.UserType(edit, text), option, needs);
  }
  void Select(wizard::Control& list, int index) { form_.UserSelect(list, index); }
  void ShowTab(wizard::PageControl& pages, int index) { form_.UserShowTab(pages, index); }

  // A message box during the clicks since `before` is the wizard refusing the choice.
  bool Refused(int before) const { return messages_.shown > before; }
  int Shown() const { return messages_.shown; }

  // "Next >>" and whether the wizard moved on.
  bool Next() {
    const int page = form_.pgTabs.PageIndex();
    if (!form_.UserClick(form_.btnNext)) throw UsageError("no address is left to process");
    return form_.pgTabs.PageIndex() != page;
  }

 private:
  static void Require(bool done, const std::string& option, const std::string& needs) {
    if (done) return;
    throw UsageError(needs.empty() ? option + ": the wizard does not offer it here" : option + " needs " + needs);
  }

  wizard::TfrmQORMain& form_;
  RunMessages& messages_;
};

// "Exclude Selected E-mail Address" on the found address that `address` names.
void Exclude(wizard::TfrmQORMain& form, RunUser& user, const std::string& address) {
  const std::string wanted = engine::LowerAscii(engine::Trim(address));
  auto matches = [&](const std::string& line) { return engine::LowerAscii(engine::Trim(line)) == wanted; };
  const auto& found = form.lstEmailAddressesFound.lines.items;
  for (std::size_t index = 0; index < found.size(); ++index) {
    if (!matches(found[index])) continue;
    user.Select(form.lstEmailAddressesFound, static_cast<int>(index));
    user.Click(form.btnExclude, "--exclude", "a found address");
    return;
  }
  for (const auto& line : form.lstEmailAddressesExcluded.lines.items) {
    if (matches(line)) return;  // excluded already
  }
  throw UsageError("--exclude " + address + ": the scan found no such address");
}

// "Add" on the contact folders page for each folder; false when the wizard refused one.
bool AddContactFolders(WizardSession& session, wizard::TfrmQORMain& form, RunUser& user,
                       const std::vector<std::string>& paths) {
  for (const auto& path : paths) {
    session.AnswerPickFolder(path);
    const int before = user.Shown();
    user.Click(form.btnSelectContactFolder, "--contact-folder", "--scan-contacts");
    if (user.Refused(before)) return false;
  }
  return true;
}

// The options page, tab by tab; false when a picker refused its folder.
bool ChooseOptions(const RunArguments& a, WizardSession& session, wizard::TfrmQORMain& form, RunUser& user,
                   wizard::ScriptAnswers& answers) {
  const int before = user.Shown();
  if (a.exportFile) {
    user.Click(form.chkExportToTab, "--export");
    answers.files.push_back(*a.exportFile);
    user.Click(form.btnSaveToCSV, "--export");
  }
  if (a.contactFields) {
    const char* needs = "--export, --scan-contacts and a --contact-folder";
    user.Click(form.chkExportContactFields, "--contact-fields", needs);
    for (const auto& box : ContactFieldBoxes(*a.contactFields)) user.ClickName(box, "--contact-fields", needs);
  }
  if (a.deleteAddresses) user.Click(form.chkDeleteEmailAddress, "--delete", kNeedsScan);
  if (a.cascade) user.Click(form.chkAutoCascadeEmailAddress, "--cascade", "--delete");
  if (a.notes) user.Click(form.chkAddNotes, "--notes", kNeedsScan);
  if (a.dateStamp) user.Click(form.chkNotesDateStamp, "--date-stamp", "--notes");
  if (a.onlyFailed) user.Click(form.chkOnlyFailed, "--only-failed");

  user.ShowTab(form.pgActions, 1);
  if (a.moveMessagesTo) {
    user.Click(form.chkMoveEmail, "--move-messages-to");
    session.AnswerPickFolder(*a.moveMessagesTo);
    user.Click(form.BitBtn1, "--move-messages-to");
  }
  if (const auto& destination = a.moveContactsTo ? a.moveContactsTo : a.copyContactsTo) {
    const std::string option = a.moveContactsTo ? "--move-contacts-to" : "--copy-contacts-to";
    user.Click(form.chkMoveContact, option, kNeedsScan);
    user.Select(form.cbxCopyorMove, a.moveContactsTo ? 1 : 0);
    session.AnswerPickFolder(*destination);
    user.Click(form.BitBtn2, option, kNeedsScan);
  }
  if (a.runProgram) {
    // Ticking the box fills both boxes with the remembered texts first.
    user.Click(form.chkExecuteApplication, "--run-program");
    user.Type(form.edtExternalExePath, *a.runProgram, "--run-program", "");
  }
  if (a.params) user.Type(form.edtparameters, *a.params, "--params", "--run-program");
  return !user.Refused(before);
}

int Run(const RunArguments& a, std::ostream& out, std::ostream& err) {
  WizardSession session(a.mailbox, a.folder, a.appFolder, a.overCom);
  RunMessages messages(err);
  wizard::ScriptAnswers answers;
  wizard::ScriptFileDialogs files(answers);
  LabelPrinter progress(err);
  FixedDate fixedDate(a.date.value_or(""));
  platform::Services& real = session.Services();
  platform::Services services{real.settings, real.shell, real.folders, real.messages,
                              a.date ? static_cast<platform::Clock&>(fixedDate) : real.clock};
  wizard::TfrmQORMain form({session.Outlook(), services, messages, files, progress, session.AppFolder()});
  form.FormShow();
  RunUser user(form, messages);

  // What the wizard changed before an error stays changed, as it would in Outlook.
  auto failed = [&] {
    if (!messages.error) return false;
    if (a.save) session.Save(*a.save);
    err << "qor: " << *messages.error << '\n';
    return true;
  };

  user.Next();  // the scan
  if (failed()) return 1;
  for (const auto& address : a.excludes) Exclude(form, user, address);
  for (const auto& address : form.lstEmailAddressesFound.lines.items) out << address << '\n';
  out.flush();

  user.Next();
  if (!AddContactFolders(session, form, user, a.contactFolders)) return kRefused;
  if (a.scanContacts) user.Click(form.chkScanContactFolder, "--scan-contacts");
  if (!user.Next()) return kRefused;
  if (!ChooseOptions(a, session, form, user, answers)) return kRefused;
  if (!user.Next()) return kRefused;  // the run
  if (failed()) return 1;
  if (a.save) session.Save(*a.save);
  return 0;
}

}  // namespace

CLI::App* AddRunCommand(CLI::App& app, RunArguments& a) {
  auto* run = app.add_subcommand("run", "Scan a folder of MAILBOX and carry out the chosen actions");
  run->add_option("MAILBOX", a.mailbox, "Mailbox file (JSON)")->required();
  run->add_option("--folder", a.folder, "Mail folder to scan (default: the explorer's folder)");
  run->add_option("--app-folder", a.appFolder, "Folder of the exclusion and address files");
  run->add_option("--exclude", a.excludes, "Exclude a found address for good (repeatable)");
  run->add_option("--contact-folder", a.contactFolders, "Contact folder to search (repeatable)");
  run->add_flag("--scan-contacts", a.scanContacts, "Scan Selected Contact Folders");
  run->add_option("--export", a.exportFile, "Export the addresses to this tab-delimited file");
  run->add_option("--contact-fields", a.contactFields, "Contact fields to export: name,company,phone");
  run->add_flag("--delete", a.deleteAddresses, "Delete the address from the matched contacts");
  run->add_flag("--cascade", a.cascade, "Move the contacts' remaining addresses up");
  run->add_flag("--notes", a.notes, "Add a note naming the address to the matched contacts");
  run->add_flag("--date-stamp", a.dateStamp, "Date the notes");
  run->add_option("--date", a.date, "Short date to stamp notes with (default: today)");
  run->add_flag("--only-failed", a.onlyFailed,
                "Process only addresses that failed permanently; move every message all of whose failed "
                "recipients were processed");
  auto* copy = run->add_option("--copy-contacts-to", a.copyContactsTo, "Copy the matched contacts to this folder");
  auto* move = run->add_option("--move-contacts-to", a.moveContactsTo, "Move the matched contacts to this folder");
  copy->excludes(move);
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
