#include "wizard/win32/window_script.h"

#include "wizard/win32/window_driver.h"

namespace qor::wizard::win32 {

void RunScriptInWindow(const WindowServices& services, std::istream& script, const ScriptHooks& hooks,
                       std::ostream& out) {
  SetProcessDPIAware();
  WizardWindow window(services);
  MessageBoxAnswerer answerer(window, hooks.answers, out);
  window.Show();
  WindowDriver driver(window);
  RunScript(script, driver, hooks, out);
}

}  // namespace qor::wizard::win32
