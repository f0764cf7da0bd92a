#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/engine_fixture.h"
#include "wizard/model/frm_qor_main.h"

namespace qor::tests {

// Message boxes that answer from a queue (the default button when it is empty) and keep what
// they showed.
class QueuedMessages : public wizard::MessageService {
 public:
  wizard::MessageResult Show(const wizard::MessageRequest& request) override {
    shown.push_back(request);
    if (answers.empty()) {
      return request.buttons == wizard::MessageButtons::YesNo ? wizard::MessageResult::Yes : wizard::MessageResult::Ok;
    }
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // The texts shown, joined by "|".
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& request : shown) texts.push_back(request.caption + "|" + request.text);
    return texts;
  }

  std::vector<wizard::MessageRequest> shown;
  std::deque<wizard::MessageResult> answers;
};

// File dialogs that answer from a queue; an empty queue is a cancel.
class QueuedFiles : public wizard::FileDialogs {
 public:
  std::optional<std::string> Save(const wizard::FileDialogRequest& request) override { return Next(request); }
  std::optional<std::string> Open(const wizard::FileDialogRequest& request) override { return Next(request); }

  std::deque<std::optional<std::string>> answers;
  std::vector<wizard::FileDialogRequest> requests;

 private:
  std::optional<std::string> Next(const wizard::FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// The engine fixture's Outlook and a wizard opened on its explorer's folder as the add-in opens it.
// The application folder is "QOR for Outlook" in the fixture's folder.
class WizardFixture : public EngineFixture {
 protected:
  WizardFixture() { fakes.folders.commonDocuments = platform::PathToUtf8(appFolder.Path()); }

  wizard::TfrmQORMain& Open() {
    form = std::make_unique<wizard::TfrmQORMain>(
        wizard::WizardServices{context.outlook, fakes.services, messages, files, display}, data);
    form->FormShow();
    return *form;
  }

  // A user's click that must be possible.
  void Click(wizard::Control& control) { ASSERT_TRUE(form->UserClick(control)) << control.Name() << " ignored"; }

  std::filesystem::path AppFile(const char* name) const { return appFolder.Path() / "QOR for Outlook" / name; }

  QueuedMessages messages;
  QueuedFiles files;
  RecordingProgress display;
  std::unique_ptr<wizard::TfrmQORMain> form;
};

}  // namespace qor::tests
