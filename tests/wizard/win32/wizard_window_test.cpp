// The wizard's real dialog under Wine, drawn on a virtual X screen: its frame, fonts and DPI, the
// keyboard, the modal loop and the repaints of a long scan.
#include "wizard/win32/wizard_window.h"

#include <commctrl.h>
#include <dlgs.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "com/com_init.h"
#include "host/automation/outlook_automation.h"
#include "platform/screen_dpi_win32.h"
#include "standin/outlook/outlook_standin.h"

#include "platform/wide_text_win32.h"
#include "support/engine_fixture.h"
#include "wizard/script/script_answers.h"
#include "wizard/win32/window_driver.h"

namespace qor::wizard::win32 {
namespace {

using ::testing::ElementsAre;

class WizardWindowTest : public tests::EngineFixture {
 protected:
  WizardWindowTest() {
    SetProcessDPIAware();
    bounces->AddMail("Delivery to ann@example.com failed");
  }

  // The script's file answers, or with `commonDialogs` Windows' own dialogs.
  WizardWindow& Open(HWND owner = nullptr, bool commonDialogs = false) {
    return Open(context.outlook, owner, commonDialogs);
  }
  WizardWindow& Open(host::Application& outlookServed, HWND owner = nullptr, bool commonDialogs = false) {
    window = std::make_unique<WizardWindow>(
        WindowServices{outlookServed, fakes.services, commonDialogs ? nullptr : &files, context.usersAppFolderPath},
        owner, data);
    answerer = std::make_unique<MessageBoxAnswerer>(*window, answers, shown);
    return *window;
  }

  HWND Of(const Control& control) const { return window->Controls().Window(control); }
  std::string NameOf(HWND handle) const {
    const Control* control = window->Controls().ControlOf(handle);
    return control != nullptr ? control->Name() : "?";
  }

  // Hands a key to the dialog as its message loop would.
  void Press(WPARAM key) {
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    if (!IsDialogMessageW(window->Handle(), &message)) DispatchMessageW(&message);
    Pump();
  }
  static void Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  ScriptAnswers answers;
  ScriptFileDialogs files{answers};
  std::ostringstream shown;
  std::unique_ptr<WizardWindow> window;
  std::unique_ptr<MessageBoxAnswerer> answerer;
};

TEST_F(WizardWindowTest, HasTheDesignedFrameFontsAndIconAtTheSystemDpi) {
  WizardWindow& wizard = Open();
  wizard.Show();
  const HWND dialog = wizard.Handle();
  const int dpi = platform::ScreenDpi();

  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, MulDiv(457, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(313, dpi, 96));
  const auto style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
  EXPECT_TRUE((style & WS_SYSMENU) && (style & WS_CAPTION));
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  wchar_t caption[32] = {};
  GetWindowTextW(dialog, caption, 32);
  EXPECT_STREQ(caption, L"QOR for Outlook");
  EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0);

  RECT next{};
  GetWindowRect(Of(wizard.Form().btnNext), &next);
  EXPECT_EQ(next.right - next.left, MulDiv(107, dpi, 96));
  EXPECT_EQ(next.bottom - next.top, MulDiv(33, dpi, 96));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Of(wizard.Form().Label6), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(font.lfHeight, -MulDiv(8, dpi, 72));
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Of(wizard.Form().Label1), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Of(wizard.Form().btnExclude), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_TRUE(font.lfUnderline);
  EXPECT_EQ(GetWindowLongW(Of(wizard.Form().btnExclude), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(WizardWindowTest, TheKeyboardWalksInReadingOrderAndEnterEscapeAndTheCloseBoxAct) {
  WizardWindow& wizard = Open();
  TfrmQORMain& form = wizard.Form();
  wizard.Show();
  EXPECT_EQ(GetFocus(), Of(form.btnNext));

  Press(VK_RETURN);  // "Next >>": the scan
  EXPECT_EQ(form.pgTabs.PageIndex(), 1);
  answers.messages = {MessageResult::No};
  Press(VK_ESCAPE);
  EXPECT_FALSE(form.Closed());
  Press(VK_RETURN);
  Press(VK_RETURN);
  ASSERT_EQ(form.pgTabs.PageIndex(), 3);

  std::vector<std::string> order;
  const HWND first = GetNextDlgTabItem(wizard.Handle(), Of(form.btnCancel), FALSE);
  for (HWND at = first; order.size() < 10; at = GetNextDlgTabItem(wizard.Handle(), at, FALSE)) {
    order.push_back(NameOf(at));
    if (GetNextDlgTabItem(wizard.Handle(), at, FALSE) == first) break;
  }
  EXPECT_THAT(order, ElementsAre("pgActions", "chkExportToTab", "chkOnlyFailed", "btnBack", "btnNext", "btnCancel"));

  Press(VK_RETURN);  // the run; "Close" is then the only way out and does not ask
  EXPECT_EQ(form.lblProgress.caption, "Finished performing all tasks.");
  SendMessageW(wizard.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_TRUE(form.Closed());
  EXPECT_FALSE(IsWindowVisible(wizard.Handle()));
  EXPECT_EQ(shown.str(), "message Warning|Close QOR for Outlook?|yesno|none\n");
}

TEST_F(WizardWindowTest, ShowModalDisablesItsOwnerUntilTheWizardCloses) {
  const platform::UniqueHwnd owner(CreateWindowExW(0, L"STATIC", L"Outlook", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                                   800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  WizardWindow& wizard = Open(owner.Get());
  bool ownerDisabledMeanwhile = false;
  wizard.onMessageBoxShown = [&](HWND box) {
    ownerDisabledMeanwhile = !IsWindowEnabled(owner.Get());
    PostMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
  };
  PostMessageW(Of(wizard.Form().btnCancel), BM_CLICK, 0, 0);
  wizard.ShowModal();
  EXPECT_TRUE(wizard.Form().Closed());
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner.Get()));
  EXPECT_FALSE(IsWindowVisible(wizard.Handle()));
}

// Fills in Windows' Save dialog once it is open: the file name typed without its extension, then OK.
std::wstring typedName;
std::wstring dialogTitle;
void CALLBACK FillSaveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM timerId) CALLBACK -> BOOL {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (!IsWindowVisible(window) || lstrcmpW(className, L"#32770") != 0) return TRUE;
        HWND name = GetDlgItem(window, cmb13);
        if (name == nullptr) name = GetDlgItem(window, edt1);
        if (name == nullptr) return TRUE;
        KillTimer(nullptr, static_cast<UINT_PTR>(timerId));
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        dialogTitle = title;
        SetWindowTextW(name, typedName.c_str());
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return FALSE;
      },
      static_cast<LPARAM>(timer));
}

TEST_F(WizardWindowTest, TheExportPickerIsWindowsSaveDialog) {
  WizardWindow& wizard = Open(nullptr, true);
  wizard.Show();
  TfrmQORMain& form = wizard.Form();
  for (int page = 0; page < 3; ++page) SendMessageW(Of(form.btnNext), BM_CLICK, 0, 0);
  SendMessageW(Of(form.chkExportToTab), BM_CLICK, 0, 0);

  typedName = platform::WidenUtf8(context.usersAppFolderPath) + L"\\export";
  SetTimer(nullptr, 0, 20, &FillSaveDialog);
  SendMessageW(Of(form.btnSaveToCSV), BM_CLICK, 0, 0);
  EXPECT_EQ(dialogTitle, L"Save To Text File");
  EXPECT_EQ(form.txtTabFilePath.text, context.usersAppFolderPath + "\\export.txt");
  wchar_t shownPath[MAX_PATH] = {};
  GetWindowTextW(Of(form.txtTabFilePath), shownPath, MAX_PATH);
  EXPECT_EQ(platform::NarrowToUtf8(shownPath), form.txtTabFilePath.text);
}

// Counts the progress bar's paints while the scan pumps no messages.
int barPaints = 0;
WNDPROC barProcedure = nullptr;
LRESULT CALLBACK CountingBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++barPaints;
  return CallWindowProcW(barProcedure, window, message, wParam, lParam);
}

TEST_F(WizardWindowTest, ALongScanPaintsTheBarOnlyWhenItsFilledWidthGrows) {
  for (int n = 0; n < 3000; ++n) bounces->AddMail("user" + std::to_string(n) + "@example.com");
  WizardWindow& wizard = Open();
  wizard.Show();
  const HWND bar = Of(wizard.Form().prgBar);
  barProcedure =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingBar)));
  barPaints = 0;
  SendMessageW(Of(wizard.Form().btnNext), BM_CLICK, 0, 0);
  SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(barProcedure));

  EXPECT_EQ(wizard.Form().lstEmailAddressesFound.lines.items.size(), 3001u);
  EXPECT_GT(barPaints, 50);
  EXPECT_LE(barPaints, MulDiv(405, platform::ScreenDpi(), 96) + 5);
}

// The label's text as another thread reads it: a message the wizard's thread must answer.
std::optional<std::string> TextAnswered(HWND label, DWORD& waitedMs) {
  wchar_t text[256] = {};
  DWORD_PTR copied = 0;
  const ULONGLONG sent = GetTickCount64();
  if (!SendMessageTimeoutW(label, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 3000, &copied))
    return std::nullopt;
  waitedMs = static_cast<DWORD>(GetTickCount64() - sent);
  return platform::NarrowToUtf8(text);
}

// Another thread reads the progress label throughout, as Windows asks a window whether it hangs;
// once the step whose label starts with `step` has answered three times it clicks "Close", and
// once the label says the step stopped, "Close" again.
class StepWatcher {
 public:
  StepWatcher(HWND label, HWND close, std::string step)
      : thread_([this, label, close, step = std::move(step)] {
          int answeredInStep = 0;
          // A step that ends before it is stopped fails the test instead of hanging it.
          const ULONGLONG giveUp = GetTickCount64() + 20000;
          while (GetTickCount64() < giveUp) {
            DWORD waited = 0;
            const auto text = TextAnswered(label, waited);
            if (!text) {
              ++unanswered;
              continue;
            }
            slowest = (std::max)(slowest, waited);
            if (text->starts_with(step) && ++answeredInStep == 3) PostMessageW(close, BM_CLICK, 0, 0);
            if (text->starts_with("Stopped")) {
              stopped = *text;
              break;
            }
            Sleep(5);
          }
          PostMessageW(close, BM_CLICK, 0, 0);
        }) {}
  StepWatcher(const StepWatcher&) = delete;
  StepWatcher& operator=(const StepWatcher&) = delete;
  ~StepWatcher() {
    if (thread_.joinable()) thread_.join();
  }
  void Join() { thread_.join(); }

  // How many items of how many the label says were done: "Stopped at N/M: ...".
  std::pair<int, int> Done() const {
    int done = 0;
    int of = 0;
    std::sscanf(stopped.c_str(), "Stopped at %d/%d", &done, &of);
    return {done, of};
  }

  std::string stopped;
  DWORD slowest = 0;
  int unanswered = 0;

 private:
  std::thread thread_;
};

class WizardOverComTest : public WizardWindowTest {
 protected:
  WizardWindow& OpenOverCom() {
    WizardWindow& wizard = Open(*throughCom);
    wizard.onMessageBoxShown = [](HWND box) { PostMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0); };
    return wizard;
  }
  StepWatcher Watch(const std::string& step) {
    return StepWatcher(Of(window->Form().lblProgress), Of(window->Form().btnCancel), step);
  }

  com::ComInit com;
  std::shared_ptr<host::Application> throughCom =
      host::automation::WrapApplication(standin::CreateOutlookApplication(outlook));
};

TEST_F(WizardOverComTest, ALongScanKeepsAnsweringAndCloseStopsItBetweenTwoMessages) {
  constexpr int kMessages = 10000;
  for (int n = 1; n < kMessages; ++n) bounces->AddMail("user" + std::to_string(n) + "@example.com");
  WizardWindow& wizard = OpenOverCom();
  auto watcher = Watch("Extracting");
  PostMessageW(Of(wizard.Form().btnNext), BM_CLICK, 0, 0);
  wizard.ShowModal();
  watcher.Join();

  EXPECT_TRUE(wizard.Form().Closed());
  EXPECT_EQ(watcher.unanswered, 0);
  EXPECT_LT(watcher.slowest, 1000u) << "Windows marks a window hung after 5 s without an answer";
  EXPECT_THAT(watcher.stopped, ::testing::EndsWith("/10000: Extracting bounce back e-mail addresses"));
  EXPECT_GT(watcher.Done().first, 0);
  EXPECT_LT(watcher.Done().first, kMessages);

  // The label's one line holds the whole text.
  const HWND label = Of(wizard.Form().lblProgress);
  const std::wstring text = platform::WidenUtf8(watcher.stopped);
  const HDC dc = GetDC(label);
  const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE needed{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &needed);
  SelectObject(dc, before);
  ReleaseDC(label, dc);
  RECT line{};
  GetClientRect(label, &line);
  EXPECT_LE(needed.cx, line.right) << watcher.stopped;
}

TEST_F(WizardOverComTest, ALongRunKeepsAnsweringAndCloseStopsItBetweenTwoContacts) {
  constexpr int kContacts = 3000;
  std::vector<std::shared_ptr<host::memory::MemoryContact>> carrying;
  for (int n = 0; n < kContacts; ++n) {
    const std::string address = "user" + std::to_string(n) + "@example.com";
    bounces->AddMail(address);
    carrying.push_back(contacts->AddContact({.email1Address = address}));
  }
  WizardWindow& wizard = OpenOverCom();
  wizard.Show();
  TfrmQORMain& form = wizard.Form();
  SendMessageW(Of(form.btnNext), BM_CLICK, 0, 0);
  SendMessageW(Of(form.btnNext), BM_CLICK, 0, 0);
  outlook->QueuePickFolder(contacts);
  SendMessageW(Of(form.btnSelectContactFolder), BM_CLICK, 0, 0);
  SendMessageW(Of(form.chkScanContactFolder), BM_CLICK, 0, 0);
  SendMessageW(Of(form.btnNext), BM_CLICK, 0, 0);
  SendMessageW(Of(form.chkAddNotes), BM_CLICK, 0, 0);
  ASSERT_TRUE(form.chkAddNotes.Checked());

  auto watcher = Watch("Updating Notes");
  PostMessageW(Of(form.btnNext), BM_CLICK, 0, 0);
  wizard.ShowModal();
  watcher.Join();

  EXPECT_EQ(watcher.unanswered, 0);
  EXPECT_LT(watcher.slowest, 1000u);
  EXPECT_THAT(watcher.stopped, ::testing::EndsWith("/3001: Updating Notes"));
  // Each contact has its whole note or none: the run stopped between two of them.
  int noted = 0;
  for (int n = 0; n < kContacts; ++n) {
    const std::string& body = carrying[n]->StoredFields().body;
    if (body.empty()) continue;
    ++noted;
    EXPECT_EQ(body, "\r\n\r\n[Processed by QOR] user" + std::to_string(n) + "@example.com");
  }
  EXPECT_GT(noted, 0);
  EXPECT_LT(noted, kContacts);
  EXPECT_LE(std::abs(noted - watcher.Done().first), 1);  // ann, found first, has no contact
}

}  // namespace
}  // namespace qor::wizard::win32
