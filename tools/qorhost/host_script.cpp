#include "host_script.h"

#include <windows.h>

#include <fstream>
#include <functional>
#include <map>
#include <vector>

#include "com/com_init.h"
#include "host/memory/mailbox_file.h"
#include "host_session.h"
#include "outlook_process.h"
#include "script_text.h"
#include "timer_window.h"
#include "wizard/win32/window_driver.h"

namespace qor::tools::qorhost {
namespace {

using Command = std::function<void(HostSession&, const std::string& argument)>;

struct ScriptCommand {
  bool takesArgument;
  Command run;
};

void Answer(HostSession& session, const std::string& argument) {
  const auto space = argument.find(' ');
  const std::string kind = argument.substr(0, space);
  const std::string value = space == std::string::npos ? std::string() : Trimmed(argument.substr(space));
  if (value.empty() || (kind != "message" && kind != "folder"))
    throw ScriptError("answer takes `message BUTTON` or `folder PATH|cancel`");
  kind == "message" ? session.AnswerMessage(value) : session.AnswerFolder(value);
}

void CountCalls(HostSession& session, const std::string& argument) {
  if (argument != "on" && argument != "off") throw ScriptError("count-calls takes `on` or `off`");
  session.CountCalls(argument == "on");
}

// A wizard command goes to the wizard whole.
ScriptCommand WizardCommand(const std::string& name) {
  return {true, [name](HostSession& s, const std::string& a) { s.RunWizardCommand(name + " " + a); }};
}

const std::map<std::string, ScriptCommand>& Commands() {
  static const std::map<std::string, ScriptCommand> commands{
      {"start", {false, [](HostSession& s, const std::string&) { s.Start(); }}},
      {"quit", {false, [](HostSession& s, const std::string&) { s.Quit(); }}},
      {"open-inspector", {true, [](HostSession& s, const std::string& a) { s.OpenInspector(a); }}},
      {"close-inspector", {false, [](HostSession& s, const std::string&) { s.CloseInspector(); }}},
      {"new-explorer", {true, [](HostSession& s, const std::string& a) { s.NewExplorer(a); }}},
      {"switch-folder", {true, [](HostSession& s, const std::string& a) { s.SwitchFolder(a); }}},
      {"connect", {true, [](HostSession& s, const std::string& a) { s.Connect(a); }}},
      {"disconnect", {true, [](HostSession& s, const std::string& a) { s.Disconnect(a); }}},
      {"registry", {true, [](HostSession& s, const std::string& a) { s.PrintRegistry(a); }}},
      {"answer", {true, Answer}},
      {"right-click", {true, [](HostSession& s, const std::string& a) { s.RightClick(a); }}},
      {"choose", {true, [](HostSession& s, const std::string& a) { s.Choose(a); }}},
      {"close-menu", {false, [](HostSession& s, const std::string&) { s.CloseMenu(); }}},
      {"count-calls", {true, CountCalls}},
      {"click", WizardCommand("click")},
      {"type", WizardCommand("type")},
      {"select", WizardCommand("select")},
      {"tab", WizardCommand("tab")},
      {"show", WizardCommand("show")},
  };
  return commands;
}

void RunLine(HostSession& session, const std::string& line) {
  const auto space = line.find_first_of(" \t");
  const std::string name = line.substr(0, space);
  const std::string argument = space == std::string::npos ? std::string() : Trimmed(line.substr(space));
  const auto found = Commands().find(name);
  if (found == Commands().end()) throw ScriptError("unknown command \"" + name + "\"");
  if (found->second.takesArgument == argument.empty())
    throw ScriptError(found->second.takesArgument ? name + " needs an argument" : name + " takes no argument");
  found->second.run(session, argument);
}

int ExitCodeOf(const std::exception& error) { return dynamic_cast<const ScriptError*>(&error) != nullptr ? 2 : 1; }

// Runs the script's lines in order. A command that opens a wizard returns only once the wizard
// has closed (it is modal, as Outlook's windows are to it); meanwhile the next lines run from a
// timer that the wizard's loop dispatches, so the script drives the wizard as a user would.
class Executor {
 public:
  Executor(std::istream& script, std::string name, HostSession& session, std::ostream& err)
      : script_(script), name_(std::move(name)), session_(session), err_(err), timer_(kTickMs, [this] { Tick(); }) {}

  // Throws what a line threw, with where() naming the line.
  void RunAll() {
    for (std::string line; Next(line);) {
      Run(line);
      PumpMessages();
    }
    where_ = name_;
  }
  const std::string& Where() const noexcept { return where_; }

 private:
  static constexpr UINT kTickMs = 50;

  bool Next(std::string& line) {
    while (std::getline(script_, line)) {
      where_ = name_ + ":" + std::to_string(++number_);
      line = Trimmed(line);
      if (!line.empty() && line.front() != '#') return true;
    }
    return false;
  }

  void Run(const std::string& line) {
    // The wizard on the screen when the command starts: only one it opens takes the next lines.
    running_.push_back(wizard::win32::FindShownWizard());
    try {
      RunLine(session_, line);
    } catch (...) {
      running_.pop_back();
      throw;
    }
    running_.pop_back();
  }

  void Tick() noexcept {
    if (running_.empty()) return;
    const HWND wizard = wizard::win32::FindShownWizard();
    // A message box or dialog over the wizard has it disabled: its own watch answers it.
    if (wizard == nullptr || wizard == running_.back() || IsWindowEnabled(wizard) == FALSE) return;
    try {
      std::string line;
      if (!Next(line)) {
        where_ = name_;
        throw ScriptError("the script ended while a wizard is open");
      }
      Run(line);
    } catch (const std::exception& error) {
      Abort(error.what(), ExitCodeOf(error));
    } catch (...) {
      Abort("unknown failure", 1);
    }
  }

  // The command that opened the wizard never returns to report it: the run ends here.
  [[noreturn]] void Abort(const char* what, int code) noexcept {
    err_ << "qorhost: " << where_ << ": " << what << '\n';
    err_.flush();
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code));
  }

  std::istream& script_;
  std::string name_;
  HostSession& session_;
  std::ostream& err_;
  std::string where_;
  int number_ = 0;
  std::vector<HWND> running_;
  TimerWindow timer_;
};

}  // namespace

int RunScript(const ScriptRun& run, std::ostream& out, std::ostream& err) {
  std::ifstream script(run.script, std::ios::binary);
  if (!script) {
    err << "qorhost: cannot read the script " << run.script << '\n';
    return 2;
  }
  std::string where;  // the place the next error is reported at
  try {
    const auto mailbox = host::memory::LoadMailbox(run.mailbox);
    const com::ComInit com;
    const OutlookProcessLibraries outlookLibraries;
    {
      HostSession session(mailbox, run.majorVersion, out);
      Executor executor(script, run.script, session, err);
      try {
        executor.RunAll();
      } catch (...) {
        where = executor.Where();
        throw;
      }
      where = run.script;
      if (session.Running()) session.Quit();
    }
    if (run.save) host::memory::SaveMailbox(*mailbox, *run.save);
    return 0;
  } catch (const std::exception& error) {
    err << "qorhost: " << where << (where.empty() ? "" : ": ") << error.what() << '\n';
    return ExitCodeOf(error);
  }
}

}  // namespace qor::tools::qorhost
