#include "wizard/script/script_answers.h"

namespace qor::wizard {

namespace {

bool Fits(MessageResult answer, MessageButtons buttons) {
  if (buttons == MessageButtons::YesNo) return answer == MessageResult::Yes || answer == MessageResult::No;
  return answer == MessageResult::Ok;
}

const char* ButtonsName(MessageButtons buttons) { return buttons == MessageButtons::YesNo ? "yesno" : "ok"; }

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation:
      return "exclamation";
    case MessageIcon::Error:
      return "error";
    case MessageIcon::Information:
      return "information";
    case MessageIcon::None:
      break;
  }
  return "none";
}

}  // namespace

MessageResult ScriptAnswers::NextMessageAnswer(MessageButtons buttons) {
  const MessageResult byDefault = buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
  if (messages.empty()) return byDefault;
  const MessageResult answer = messages.front();
  messages.pop_front();
  // An answer the box has no button for presses the default one.
  return Fits(answer, buttons) ? answer : byDefault;
}

std::optional<std::string> ScriptAnswers::NextFile() {
  if (files.empty()) return std::nullopt;
  auto answer = std::move(files.front());
  files.pop_front();
  return answer;
}

std::string FormatMessageLine(const MessageRequest& request) {
  std::string line = "message " + request.caption + "|";
  for (const char c : request.text) {
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  return line + "|" + ButtonsName(request.buttons) + "|" + IconName(request.icon);
}

MessageResult ScriptMessages::Show(const MessageRequest& request) {
  out_ << FormatMessageLine(request) << '\n';
  return answers_.NextMessageAnswer(request.buttons);
}

}  // namespace qor::wizard
