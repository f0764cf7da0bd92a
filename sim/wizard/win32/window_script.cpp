#include "wizard/win32/window_script.h"

#include "com/com_init.h"
#include "wizard/win32/window_driver.h"

namespace qor::wizard::win32 {

namespace {

// Pumps the window's messages for a moment, so that what it shows has reached the screen.
void LetItShow(HWND dialog) {
  const ULONGLONG until = GetTickCount64() + kShowingMs;
  for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
  }
}

}  // namespace

void RunScriptInWindow(const WindowServices& services, std::istream& script, const ScriptHooks& hooks,
                       std::ostream& out) {
  SetProcessDPIAware();
  const com::ComInit com;  // the screenshots' image encoder
  WizardWindow window(services);
  MessageBoxAnswerer answerer(window, hooks.answers, out);
  window.Show();
  WindowDriver driver(window);
  ScriptHooks windowHooks = hooks;
  windowHooks.screenshot = [&](const std::string& file) {
    LetItShow(window.Handle());
    CaptureWizard(window.Handle(), nullptr, file);
  };
  RunScript(script, driver, windowHooks, out);
}

}  // namespace qor::wizard::win32
