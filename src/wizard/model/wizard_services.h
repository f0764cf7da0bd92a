#pragma once

// What the wizard asks of the world outside its controls: message boxes, the file dialogs, and
// the display of its progress page. Outlook's folder picker is reached through host::NameSpace.

#include <optional>
#include <string>

#include "engine/progress.h"
#include "host/outlook.h"
#include "platform/services.h"

namespace qor::wizard {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Exclamation, Error, Information };
enum class MessageResult { Ok, Yes, No, Cancel };

struct MessageRequest {
  std::string text;
  std::string caption;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

// Modal message boxes; returns the button the user pressed.
class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual MessageResult Show(const MessageRequest& request) = 0;
};

// A file dialog as the form designer describes it. `filter` holds "description|pattern" pairs
// joined by "|"; `defaultExt` is added to a name typed without one.
struct FileDialogRequest {
  std::string title;
  std::string filter;
  std::string defaultExt;
};

// The chosen file's full path, or nothing when the user cancelled.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<std::string> Save(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> Open(const FileDialogRequest& request) = 0;
};

// Everything a wizard works with. `display` hears every change of the progress label and bar,
// and a repaint only when what the user would see has changed.
struct WizardServices {
  host::Application& outlook;
  platform::Services& platform;
  MessageService& messages;
  FileDialogs& files;
  engine::ProgressSink& display;
  // The application folder; by default the shared documents folder's "QOR for Outlook".
  std::optional<std::string> usersAppFolderPath = std::nullopt;
};

}  // namespace qor::wizard
