#include "wizard/script/script_runner.h"

#include <charconv>

namespace qor::wizard {

namespace {

// Cuts the first word (up to a blank) off `rest`; the blank goes too.
std::string TakeWord(std::string& rest) {
  const auto blank = rest.find(' ');
  std::string word = rest.substr(0, blank);
  rest = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
  return word;
}

int ParseIndex(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    throw ScriptError("\"" + text + "\" is not a line or tab number");
  }
  return value;
}

MessageResult ParseButton(const std::string& name) {
  if (name == "ok") return MessageResult::Ok;
  if (name == "yes") return MessageResult::Yes;
  if (name == "no") return MessageResult::No;
  if (name == "cancel") return MessageResult::Cancel;
  throw ScriptError("unknown message button \"" + name + "\" (ok, yes, no, cancel)");
}

class Runner {
 public:
  Runner(WizardDriver& driver, const ScriptHooks& hooks, std::ostream& out)
      : driver_(driver), hooks_(hooks), out_(out) {}

  void Run(std::string line) {
    std::string rest = line;
    const std::string command = TakeWord(rest);
    if (command == "click") return Act(rest, [&](Control& control) { return driver_.Click(control); });
    if (command == "type") return Type(rest);
    if (command == "select") return Indexed(rest, [&](Control& control, int index) { return Select(control, index); });
    if (command == "tab") return Indexed(rest, [&](Control& control, int index) { return Tab(control, index); });
    if (command == "answer") return Answer(rest);
    if (command == "show") return Show(rest);
    if (command == "screenshot") return Screenshot(rest);
    throw ScriptError("unknown command \"" + command + "\"");
  }

 private:
  Control& Find(const std::string& name) {
    Control* control = driver_.Form().FindControl(name);
    if (control == nullptr) throw ScriptError("the wizard has no control \"" + name + "\"");
    return *control;
  }

  // After the wizard has closed, every command is only reported.
  bool Closed(const std::string& what) {
    if (!driver_.Closed()) return false;
    out_ << "ignored " << what << '\n';
    return true;
  }

  template <typename Action>
  void Act(const std::string& name, Action action) {
    Control& control = Find(name);
    if (Closed(name)) return;
    const bool done = action(control);
    if (!done) out_ << "ignored " << name << '\n';
    if (driver_.Closed()) out_ << "closed\n";
  }

  template <typename Action>
  void Indexed(std::string rest, Action action) {
    const std::string name = TakeWord(rest);
    const int index = ParseIndex(rest);
    Act(name, [&](Control& control) { return action(control, index); });
  }

  bool Select(Control& control, int index) {
    if (control.Kind() != ControlKind::ListBox && control.Kind() != ControlKind::ComboBox) {
      throw ScriptError(control.Name() + " is no list");
    }
    return driver_.Select(control, index);
  }

  bool Tab(Control& control, int index) {
    auto* pages = dynamic_cast<PageControl*>(&control);
    if (pages == nullptr) throw ScriptError(control.Name() + " has no tabs");
    return driver_.ShowTab(*pages, index);
  }

  void Type(std::string rest) {
    const std::string name = TakeWord(rest);
    Act(name, [&](Control& control) {
      auto* edit = dynamic_cast<Edit*>(&control);
      if (edit == nullptr) throw ScriptError(name + " is no edit box");
      return driver_.Type(*edit, rest);
    });
  }

  void Answer(std::string rest) {
    const std::string kind = TakeWord(rest);
    if (kind != "folder" && kind != "file" && kind != "message") {
      throw ScriptError("unknown answer \"" + kind + "\" (folder, file, message)");
    }
    if (rest.empty()) throw ScriptError("answer " + kind + " needs a value");
    if (Closed(kind + " " + rest)) return;
    const std::optional<std::string> path = rest == "cancel" ? std::nullopt : std::optional<std::string>(rest);
    if (kind == "folder") {
      hooks_.answerFolder(path);
    } else if (kind == "file") {
      hooks_.answers.files.push_back(path);
    } else {
      hooks_.answers.messages.push_back(ParseButton(rest));
    }
  }

  void Screenshot(std::string rest) {
    if (rest.empty()) throw ScriptError("screenshot needs a file");
    if (Closed(rest)) return;
    if (rest.rfind("message ", 0) == 0) {
      hooks_.answers.messageScreenshots.push_back(rest.substr(8));
    } else if (hooks_.screenshot) {
      hooks_.screenshot(rest);
    }
  }

  void Show(const std::string& what) {
    const auto dot = what.find('.');
    if (dot == std::string::npos) throw ScriptError("show needs NAME.PROPERTY");
    Control& control = Find(what.substr(0, dot));
    const std::string property = what.substr(dot + 1);
    CheckProperty(control, property);
    if (Closed(what)) return;
    out_ << what << '=' << driver_.Property(control, property) << '\n';
  }

  WizardDriver& driver_;
  const ScriptHooks& hooks_;
  std::ostream& out_;
};

}  // namespace

void RunScript(std::istream& script, WizardDriver& driver, const ScriptHooks& hooks, std::ostream& out) {
  Runner runner(driver, hooks, out);
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    try {
      runner.Run(line);
    } catch (const ScriptError& e) {
      throw ScriptError("line " + std::to_string(number) + ": " + e.what());
    }
    out.flush();
  }
}

void RunCommand(const std::string& line, WizardDriver& driver, const ScriptHooks& hooks, std::ostream& out) {
  Runner(driver, hooks, out).Run(line);
}

}  // namespace qor::wizard
