#include "host_script.h"

#include <fstream>
#include <functional>
#include <map>

#include "com/com_init.h"
#include "host/memory/mailbox_file.h"
#include "host_session.h"
#include "outlook_process.h"

namespace qor::tools::qorhost {
namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

using Command = std::function<void(HostSession&, const std::string& argument)>;

struct ScriptCommand {
  bool takesArgument;
  Command run;
};

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
      {"answer",
       {true,
        [](HostSession& s, const std::string& a) {
          if (a.rfind("message ", 0) != 0) throw ScriptError("answer takes `message BUTTON`");
          s.AnswerMessage(Trimmed(a.substr(8)));
        }}},
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
      int number = 0;
      for (std::string line; std::getline(script, line);) {
        ++number;
        where = run.script + ":" + std::to_string(number);
        line = Trimmed(line);
        if (line.empty() || line.front() == '#') continue;
        RunLine(session, line);
        PumpMessages();
      }
      where = run.script;
      if (session.Running()) session.Quit();
    }
    if (run.save) host::memory::SaveMailbox(*mailbox, *run.save);
    return 0;
  } catch (const std::exception& error) {
    err << "qorhost: " << where << (where.empty() ? "" : ": ") << error.what() << '\n';
    return dynamic_cast<const ScriptError*>(&error) != nullptr ? 2 : 1;
  }
}

}  // namespace qor::tools::qorhost
