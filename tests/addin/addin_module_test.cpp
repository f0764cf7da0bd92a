// The add-in's own module on the stand-in Outlook: what its two menu entries do, the text editor,
// and the global that holds the connected module.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "co_qor_settings.h"
#include "framework_fixture.h"
#include "platform/atomic_file.h"
#include "platform/diagnostics.h"
#include "platform/services_win32.h"
#include "platform/unique_any_win32.h"
#include "platform/version_text.h"
#include "platform/wide_text_win32.h"
#include "qorOutlook_IMPL.h"

namespace qor::addin {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingShell final : public platform::Shell {
 public:
  void Open(const std::string& file, const std::string& parameters) override {
    opened.push_back(file + "|" + parameters);
  }
  std::vector<std::string> opened;
};

// While the wizard is open: reads the folder it shows, closes it and confirms the close.
std::vector<std::string> wizardFolders;
void CALLBACK CloseWizard(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) CALLBACK -> BOOL {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        if (!IsWindowVisible(window)) return TRUE;
        if (std::wstring(text) == L"Warning") {  // "Close QOR for Outlook?"
          PostMessageW(window, WM_COMMAND, IDYES, 0);
          return FALSE;
        }
        if (std::wstring(text) != L"QOR for Outlook") return TRUE;
        // The first page's only visible edit box holds the folder.
        EnumChildWindows(
            window,
            [](HWND child, LPARAM) CALLBACK -> BOOL {
              wchar_t name[16] = {};
              GetClassNameW(child, name, 16);
              if (_wcsicmp(name, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
              wchar_t folder[256] = {};
              GetWindowTextW(child, folder, 256);
              wizardFolders.push_back(platform::NarrowToUtf8(folder));
              return FALSE;
            },
            0);
        PostMessageW(window, WM_CLOSE, 0, 0);
        return FALSE;
      },
      0);
}

class AddInModuleTest : public framework::testing::FrameworkTest {
 protected:
  AddInModuleTest() {
    factory = std::make_unique<framework::TadxFactory>(framework::ComServer::Instance(), CLASS_coqorOutlook,
                                                       [] { return std::make_unique<TAddInModule>(); });
    wizardFolders.clear();
  }
  TAddInModule& Connected() {
    EXPECT_EQ(Connect(ext_cm_AfterStartup), S_OK);
    auto& module = static_cast<TAddInModule&>(*Module());
    module.SetShell(shell);
    return module;
  }
  RecordingShell shell;
};

TEST_F(AddInModuleTest, QorAgentOpensTheWizardOnTheExplorersMailFolderOnly) {
  Start(16);
  TAddInModule& module = Connected();
  EXPECT_EQ(adxcoqorOutlook, &module);
  EXPECT_EQ(module.AddInName(), L"QOR for Outlook");
  EXPECT_EQ(module.SupportedApps(), framework::TadxHostAppSet{framework::ohaOutlook});

  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseWizard);
  module.mnuMainControls0Click();
  module.mnuMainControls0Click();  // closed and freed: a fresh wizard opens
  driver->SwitchFolder(*driver->ActiveExplorer(), contacts);
  module.mnuMainControls0Click();  // a contact folder: nothing happens
  KillTimer(nullptr, timer);
  EXPECT_THAT(wizardFolders, ElementsAre("Mailbox\\Inbox", "Mailbox\\Inbox"));

  std::vector<std::wstring> questions;
  module.SetAsk([&](const std::wstring& question) {
    questions.push_back(question);
    return true;
  });
  platform::diagnostics::Forget();
  module.mnuMainControls0Controls1Click();
  module.AddBounceBackRule();
  ASSERT_EQ(shell.opened.size(), 2u);
  EXPECT_THAT(shell.opened[0], ::testing::EndsWith("\\qorOutlook-help.html|"));
  EXPECT_EQ(shell.opened[1], "notepad.exe|");
  EXPECT_THAT(questions, ::testing::IsEmpty());  // nothing has failed: help alone

  // After a failure, "Online Help" first offers the folder of the diagnostics log, written out.
  const std::filesystem::path logFile = platform::LocalAppDataFolder() / L"QOR for Outlook" / L"qor.log";
  platform::diagnostics::SetLogFile(logFile);
  platform::diagnostics::Record(platform::diagnostics::Kind::Ignored, "passed over, not offered");
  module.mnuMainControls0Controls1Click();
  EXPECT_EQ(questions.size(), 0u);
  platform::diagnostics::RecordError(platform::diagnostics::Kind::Failed, "Test.Click", 0, "failed");
  module.mnuMainControls0Controls1Click();
  ASSERT_EQ(shell.opened.size(), 5u);
  EXPECT_THAT(questions, ElementsAre(L"QOR for Outlook has recorded 1 error in its diagnostics log.\r\n"
                                     L"Open the folder that holds the log, to send it to us?"));
  EXPECT_EQ(shell.opened[3], platform::NarrowToUtf8(logFile.parent_path().wstring()) + "|");
  EXPECT_THAT(shell.opened[4], ::testing::EndsWith("\\qorOutlook-help.html|"));
  EXPECT_THAT(platform::ReadFileBytes(logFile), ::testing::HasSubstr("error: Test.Click: failed"));
  platform::diagnostics::Forget();

  EXPECT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
  EXPECT_EQ(adxcoqorOutlook, nullptr);
}

// Start-up and shutdown are recorded, the shutdown even under Outlook's fast shutdown.
TEST_F(AddInModuleTest, FastShutdownLeavesNoModuleBehindAndIsRecorded) {
  platform::diagnostics::Forget();
  Start(16);
  Connected();
  ASSERT_NE(adxcoqorOutlook, nullptr);
  driver->Quit();
  EXPECT_EQ(Module(), nullptr);
  EXPECT_EQ(adxcoqorOutlook, nullptr);
  EXPECT_THAT(platform::diagnostics::Recent(),
              ElementsAre(::testing::EndsWith("note: start-up: QOR for Outlook " QOR_VERSION_TEXT
                                              ", Outlook 16.0.0.4266, start mode FIRSTSTART"),
                          ::testing::EndsWith("note: shutdown")));
  platform::diagnostics::Forget();
}

// The options page's button starts the text editor, through the connected module's shell, and
// without a module all the same.
TEST_F(AddInModuleTest, SettingsPageButtonStartsTheEditorWithOrWithoutTheModule) {
  RecordingShell fallback;
  TcoQORSettings::SetFallbackShell(&fallback);
  const platform::UniqueHwnd parent(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 500, 500, nullptr, nullptr, nullptr, nullptr));
  TcoQORSettings page;
  const HWND form = page.CreateFormWindow(parent.Get());
  const HWND button = FindWindowExW(form, nullptr, L"Button", L"btnAddRules");
  ASSERT_NE(button, nullptr);
  ASSERT_EQ(adxcoqorOutlook, nullptr);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_THAT(fallback.opened, ElementsAre("notepad.exe|"));

  Start(16);
  Connected();
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_THAT(shell.opened, ElementsAre("notepad.exe|"));
  EXPECT_THAT(fallback.opened, ElementsAre("notepad.exe|"));
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
  TcoQORSettings::SetFallbackShell(nullptr);
}

}  // namespace
}  // namespace qor::addin
