#pragma once

// What a script has said the user will answer to the next dialogs, and the model-mode dialogs that
// take those answers.

#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "wizard/model/wizard_services.h"

namespace qor::wizard {

struct ScriptAnswers {
  // Buttons for the next message boxes; without one a box gets its default button.
  std::deque<MessageResult> messages;
  // Paths for the next file dialogs; nothing is a cancel, as is an empty queue.
  std::deque<std::optional<std::string>> files;
  // PNG files for pictures of the next message boxes, taken before they are answered (windows only).
  std::deque<std::string> messageScreenshots;

  MessageResult NextMessageAnswer(MessageButtons buttons);
  std::optional<std::string> NextFile();
};

// The line a shown message box prints: "message CAPTION|TEXT|BUTTONS|ICON", with a CR in the
// text written as \r and an LF as \n.
std::string FormatMessageLine(const MessageRequest& request);

// Message boxes of a script run without windows: each prints its line and takes the next answer.
class ScriptMessages final : public MessageService {
 public:
  ScriptMessages(ScriptAnswers& answers, std::ostream& out) : answers_(answers), out_(out) {}
  MessageResult Show(const MessageRequest& request) override;

 private:
  ScriptAnswers& answers_;
  std::ostream& out_;
};

// File dialogs that take the script's answers, in both modes.
class ScriptFileDialogs final : public FileDialogs {
 public:
  explicit ScriptFileDialogs(ScriptAnswers& answers) : answers_(answers) {}
  std::optional<std::string> Save(const FileDialogRequest&) override { return answers_.NextFile(); }
  std::optional<std::string> Open(const FileDialogRequest&) override { return answers_.NextFile(); }

 private:
  ScriptAnswers& answers_;
};

}  // namespace qor::wizard
