#include "wizard_remote.h"

#include "engine/progress.h"
#include "host_session.h"
#include "platform/system_services.h"
#include "wizard/model/frm_qor_main.h"
#include "wizard/script/script_runner.h"
#include "wizard/win32/window_driver.h"

namespace qor::tools::qorhost {

// A form of the wizard's design, for the names of its controls; none of its services is called.
struct WizardRemote::Layout {
  explicit Layout(host::Application& outlook, std::ostream& out)
      : system({}), messages(answers, out), files(answers), form({outlook, system.Get(), messages, files, display}) {}

  wizard::ScriptAnswers answers;
  platform::SystemServices system;
  wizard::ScriptMessages messages;
  wizard::ScriptFileDialogs files;
  engine::NullProgress display;
  wizard::TfrmQORMain form;
};

WizardRemote::WizardRemote(host::Application& outlook, std::ostream& out) : outlook_(outlook), out_(out) {}

WizardRemote::~WizardRemote() = default;

void WizardRemote::Run(const std::string& line) {
  const HWND dialog = wizard::win32::FindShownWizard();
  if (dialog == nullptr) {
    out_ << "no wizard\n";
    return;
  }
  if (!layout_) layout_ = std::make_unique<Layout>(outlook_, out_);
  wizard::win32::WindowDriver driver(layout_->form, dialog);
  const wizard::ScriptHooks hooks{layout_->answers, nullptr, nullptr};
  try {
    wizard::RunCommand(line, driver, hooks, out_);
  } catch (const wizard::ScriptError& error) {
    throw ScriptError(error.what());
  }
}

}  // namespace qor::tools::qorhost
