#include "wizard_command.h"

#include <CLI/CLI.hpp>
#include <fstream>

#include "engine/progress.h"
#include "platform/text_file.h"
#include "wizard/model/frm_qor_main.h"
#include "wizard/script/script_runner.h"
#include "wizard_session.h"
#ifdef _WIN32
#include "wizard/win32/window_script.h"
#endif

namespace qor::tools {

CLI::App* AddWizardCommand(CLI::App& app, WizardArguments& a) {
  auto* wizard = app.add_subcommand("wizard", "Open the wizard on MAILBOX and drive it with a script");
  wizard->add_option("MAILBOX", a.mailbox, "Mailbox file (JSON)")->required();
  wizard->add_option("--script", a.script, "Commands, one a line: click, type, select, tab, answer, show")
      ->required();
  wizard->add_option("--app-folder", a.appFolder, "Folder of the exclusion and address files");
  wizard->add_option("--save", a.save, "Write the mailbox as the wizard left it to this file");
#ifdef _WIN32
  wizard->add_flag("--window", a.window, "Drive the real dialog with window messages");
#endif
  return wizard;
}

int RunWizard(const WizardArguments& arguments, std::ostream& out) {
  std::ifstream script(platform::PathFromUtf8(arguments.script), std::ios::binary);
  if (!script) throw std::runtime_error("cannot read " + arguments.script);

  WizardSession session(arguments.mailbox, std::nullopt, arguments.appFolder, arguments.overCom);
  wizard::ScriptAnswers answers;
  wizard::ScriptFileDialogs files(answers);
  const wizard::ScriptHooks hooks{
      answers, [&](const std::optional<std::string>& path) { session.AnswerPickFolder(path); }, nullptr};
  try {
#ifdef _WIN32
    if (arguments.window) {
      wizard::win32::RunScriptInWindow(
          {session.Outlook(), session.Services(), &files, session.AppFolder()}, script, hooks, out);
    }
#endif
    if (!arguments.window) {
      wizard::ScriptMessages messages(answers, out);
      engine::NullProgress display;
      wizard::TfrmQORMain form({session.Outlook(), session.Services(), messages, files, display, session.AppFolder()});
      form.FormShow();
      wizard::ModelDriver driver(form);
      wizard::RunScript(script, driver, hooks, out);
    }
  } catch (const wizard::ScriptError& e) {
    throw UsageError(arguments.script + ": " + e.what());
  }
  if (arguments.save) session.Save(*arguments.save);
  return 0;
}

}  // namespace qor::tools
