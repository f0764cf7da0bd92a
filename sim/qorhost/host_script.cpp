#include "host_script.h"

#include <windows.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <vector>

#include "com/com_init.h"
#include "host/memory/mailbox_file.h"
#include "host_session.h"
#include "outlook_process.h"
#include "script_text.h"
#include "standin/office/counted_dispatch.h"
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
  if (value.empty()) throw ScriptError("answer takes `message BUTTON`, `folder PATH|cancel` or `file PATH`");
  if (kind == "message") return session.AnswerMessage(value);
  if (kind == "folder") return session.AnswerFolder(value);
  if (kind == "file") return session.AnswerFile(value);
  throw ScriptError("answer takes `message BUTTON`, `folder PATH|cancel` or `file PATH`");
}

// `screenshot FILE`, or `screenshot message FILE` for the next message box.
void Screenshot(HostSession& session, const std::string& argument) {
  constexpr std::string_view kMessage = "message ";
  const bool ofMessage = argument.starts_with(kMessage);
  const std::string file = ofMessage ? Trimmed(argument.substr(kMessage.size())) : argument;
  if (file.empty()) throw ScriptError("screenshot takes `FILE` or `message FILE`");
  session.Screenshot(file, ofMessage);
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
      {"screenshot", {true, Screenshot}},
      {"options", {true, [](HostSession& s, const std::string& a) { s.ShowOptions(a); }}},
      {"close-options", {false, [](HostSession& s, const std::string&) { s.CloseOptions(); }}},
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

// Runs the script's lines in order. A command that opens a wizard or a real menu returns only once
// it has closed (both are modal); meanwhile the next lines run from a timer that the wizard's or the
// menu's loop dispatches, so the script drives them as a user would.
// With timings, every command prints `timing LINE ms=T calls=N lookups=L typeinfos=I` to the error
// stream once done (the time it took; the calls add-ins made on the stand-in meanwhile, and apart
// from them their GetIDsOfNames and GetTypeInfo requests), and a wizard or menu coming up
// prints `timing wizard shown ms=T` (or `menu shown`), counted from the start of the last command.
class Executor {
 public:
  Executor(std::istream& script, std::string name, HostSession& session, std::ostream& err, bool timings)
      : script_(script),
        name_(std::move(name)),
        session_(session),
        err_(err),
        timings_(timings),
        timer_(timings ? kFineTickMs : kTickMs, [this] { Tick(); }) {}

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
  static constexpr UINT kFineTickMs = 1;  // what is timed is seen within a millisecond
  using Clock = std::chrono::steady_clock;

  double MillisecondsSinceStart() const {
    return std::chrono::duration<double, std::milli>(Clock::now() - lastStart_).count();
  }

  bool Next(std::string& line) {
    while (std::getline(script_, line)) {
      where_ = name_ + ":" + std::to_string(++number_);
      line = Trimmed(line);
      if (!line.empty() && line.front() != '#') return true;
    }
    return false;
  }

  // What was on the screen when a command started: only a wizard or menu it opens takes the next lines.
  struct Frame {
    HWND wizard;
    bool menu;
  };

  void Run(const std::string& line) {
    running_.push_back({wizard::win32::FindShownWizard(), session_.MenuWaiting()});
    const auto started = lastStart_ = Clock::now();
    const standin::office::StandinCalls callsBefore = standin::office::StandinCallCounts();
    try {
      RunLine(session_, line);
    } catch (...) {
      running_.pop_back();
      throw;
    }
    running_.pop_back();
    if (timings_) {
      const standin::office::StandinCalls& calls = standin::office::StandinCallCounts();
      err_ << "timing " << line << " ms=" << std::chrono::duration<double, std::milli>(Clock::now() - started).count()
           << " calls=" << calls.calls - callsBefore.calls << " lookups=" << calls.nameLookups - callsBefore.nameLookups
           << " typeinfos=" << calls.typeInfos - callsBefore.typeInfos << '\n';
    }
  }

  void Tick() noexcept {
    if (running_.empty()) return;
    const Frame& frame = running_.back();
    const HWND wizard = wizard::win32::FindShownWizard();
    // A message box or dialog over the wizard has it disabled: its own watch answers it.
    const bool wizardWaits = wizard != nullptr && wizard != frame.wizard && IsWindowEnabled(wizard) != FALSE;
    const bool menuWaits = session_.MenuWaiting() && !frame.menu;
    if (!wizardWaits && !menuWaits) return;
    if (timings_ && menuWaits) err_ << "timing menu shown ms=" << MillisecondsSinceStart() << '\n';
    if (timings_ && wizardWaits && wizard != announcedWizard_)
      err_ << "timing wizard shown ms=" << MillisecondsSinceStart() << '\n';
    announcedWizard_ = wizard;
    try {
      std::string line;
      if (!Next(line)) {
        where_ = name_;
        throw ScriptError(menuWaits ? "the script ended while a menu is open"
                                    : "the script ended while a wizard is open");
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
  bool timings_;
  std::string where_;
  int number_ = 0;
  std::vector<Frame> running_;
  Clock::time_point lastStart_ = Clock::now();
  HWND announcedWizard_ = nullptr;
  TimerWindow timer_;
};

// Outlook in the user's hands until the user closes its window; what a window fails to do is
// reported and Outlook goes on.
void RunForUser(HostSession& session, std::ostream& err) {
  session.Start();
  MSG message{};
  while (session.Running() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    const HWND dialog = session.OpenDialog();
    if (dialog == nullptr || !IsDialogMessageW(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    try {
      session.AfterUserMessage();
    } catch (const std::exception& error) {
      err << "qorhost: " << error.what() << '\n';
    }
  }
}

}  // namespace

int RunHost(const HostRun& run, std::ostream& out, std::ostream& err) {
  std::ifstream script;
  if (run.script) {
    script.open(*run.script, std::ios::binary);
    if (!script) {
      err << "qorhost: cannot read the script " << *run.script << '\n';
      return 2;
    }
  }
  std::string where;  // the place the next error is reported at
  try {
    const auto mailbox = host::memory::LoadMailbox(run.mailbox);
    const com::ComInit com;
    const OutlookProcessLibraries outlookLibraries;
    {
      HostSession session(mailbox, run.majorVersion, out, {run.windows || !run.script, run.script.has_value()});
      if (run.script) {
        Executor executor(script, *run.script, session, err, run.timings);
        try {
          executor.RunAll();
        } catch (...) {
          where = executor.Where();
          throw;
        }
        where = *run.script;
      } else {
        RunForUser(session, err);
      }
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
