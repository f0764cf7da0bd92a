// Navigation, the scan, the run and the user's input.
#include "wizard/model/frm_qor_main.h"

#include <exception>

#include "engine/exclusions.h"
#include "engine/folder_scan.h"
#include "engine/processing_run.h"
#include "platform/diagnostics.h"

namespace qor::wizard {

namespace {

constexpr int kFirstPage = 0;
constexpr int kReviewPage = 1;
constexpr int kContactFoldersPage = 2;
constexpr int kOptionsPage = 3;
constexpr int kProgressPage = 4;

constexpr const char* kExtractingText = "Extracting bounce back e-mail addresses...";

}  // namespace

void TfrmQORMain::PlainMessages::Show(const std::string& text) {
  messages_.Show({text, kPlainCaption, MessageButtons::Ok, MessageIcon::None});
}

void TfrmQORMain::PlainMessages::ShowError(const std::string& text) {
  messages_.Show({text, "Error", MessageButtons::Ok, MessageIcon::Error});
}

void TfrmQORMain::FormShow() {
  const auto explorer = services_.outlook.ActiveExplorer();
  if (!explorer) return;
  if (const auto folder = explorer->CurrentFolder()) txtEmailFolder.text = chosenFolders_.Remember(folder);
}

Control* TfrmQORMain::FindControl(std::string_view name) {
  for (Control* control : controls_) {
    if (control->Name() == name) return control;
  }
  return nullptr;
}

engine::RunOptions TfrmQORMain::Options() const {
  engine::RunOptions options;
  options.emailFolder = txtEmailFolder.text;
  options.onlyFailedPermanently = chkOnlyFailed.Checked();
  options.scanContactFolders = chkScanContactFolder.Checked();
  options.contactFolders = lstContactFolders.lines.items;
  options.addNotes = chkAddNotes.Checked();
  options.notesDateStamp = chkNotesDateStamp.Checked();
  options.exportToTab = chkExportToTab.Checked();
  options.exportContactFields = chkExportContactFields.Checked();
  options.exportName = chkName.Checked();
  options.exportCompany = chkCompany.Checked();
  options.exportPhone = chkPhone.Checked();
  options.tabFilePath = txtTabFilePath.text;
  options.deleteEmailAddress = chkDeleteEmailAddress.Checked();
  options.autoCascade = chkAutoCascadeEmailAddress.Checked();
  options.moveContact = chkMoveContact.Checked();
  options.copyOrMove = cbxCopyorMove.lines.itemIndex == static_cast<int>(engine::ContactTransfer::Move)
                           ? engine::ContactTransfer::Move
                           : engine::ContactTransfer::Copy;
  options.destinationContactFolder = txtDestinationContactFolder.text;
  options.moveEmail = chkMoveEmail.Checked();
  options.destinationMailFolder = txtDestinationMailFolder.text;
  options.executeApplication = chkExecuteApplication.Checked();
  options.externalExePath = edtExternalExePath.text;
  options.parameters = edtparameters.text;
  return options;
}

// --- The user's input.

void TfrmQORMain::Dispatch(const std::function<void()>& action) {
  progress_.Invalidate();
  try {
    action();
  } catch (const std::exception& e) {
    platform::diagnostics::RecordError(platform::diagnostics::Kind::Failed, "TfrmQORMain.Dispatch", 0, e.what());
    services_.messages.Show({e.what(), "Error", MessageButtons::Ok, MessageIcon::Error});
  } catch (...) {
    platform::diagnostics::Record(platform::diagnostics::Kind::Failed, "TfrmQORMain.Dispatch: an unexpected error");
    services_.messages.Show({"An unexpected error occurred.", "Error", MessageButtons::Ok, MessageIcon::Error});
  }
}

bool TfrmQORMain::UserClick(Control& control) {
  if (closed_ || (busy_ && &control != &btnCancel) || !control.Enabled() || !control.OnShownPage()) return false;
  if (auto* box = dynamic_cast<CheckBox*>(&control)) {
    Dispatch([box] { box->SetChecked(!box->Checked()); });
    return true;
  }
  if (auto* button = dynamic_cast<Button*>(&control)) {
    Dispatch([button] { button->Click(); });
    return true;
  }
  return false;
}

bool TfrmQORMain::UserType(Edit& edit, const std::string& text) {
  if (closed_ || busy_ || !edit.Enabled() || edit.readOnly || !edit.OnShownPage()) return false;
  edit.text = text;
  return true;
}

bool TfrmQORMain::UserSelect(Control& list, int index) {
  if (closed_ || busy_ || !list.Enabled() || !list.OnShownPage()) return false;
  engine::StringListModel* lines = nullptr;
  if (auto* listBox = dynamic_cast<ListBox*>(&list)) lines = &listBox->lines;
  if (auto* comboBox = dynamic_cast<ComboBox*>(&list)) lines = &comboBox->lines;
  if (lines == nullptr) return false;
  lines->itemIndex = index >= 0 && index < static_cast<int>(lines->items.size()) ? index : -1;
  if (auto* listBox = dynamic_cast<ListBox*>(&list); listBox && listBox->onClick) Dispatch(listBox->onClick);
  return true;
}

bool TfrmQORMain::UserShowTab(PageControl& pages, int index) {
  if (closed_ || busy_ || !pages.showTabs || !pages.Enabled() || !pages.OnShownPage()) return false;
  if (index < 0 || index >= static_cast<int>(pages.Sheets().size())) return false;
  pages.SetPageIndex(index);
  return true;
}

void TfrmQORMain::ShowRefusal(const Refusal& refusal) {
  services_.messages.Show({refusal.text, refusal.caption, MessageButtons::Ok, refusal.icon});
}

void TfrmQORMain::Close() {
  if (closed_) return;
  closed_ = true;
  if (onClose) onClose();
}

// --- The three buttons under the pages.

void TfrmQORMain::btnNextClick() {
  btnNext.SetEnabled(false);
  switch (pgTabs.PageIndex()) {
    case kFirstPage:
      if (!ScanSelectedFolder()) return;
      break;
    case kReviewPage:
      btnNext.SetEnabled(!lstEmailAddressesFound.lines.items.empty());
      break;
    case kContactFoldersPage:
      btnNext.SetEnabled(true);
      if (const auto refusal = CheckContactFolderList(Options())) return ShowRefusal(*refusal);
      SetupActionControls();
      break;
    case kOptionsPage:
      btnNext.SetEnabled(true);
      if (const auto refusal = CheckRunOptions(Options())) return ShowRefusal(*refusal);
      break;
    default:
      break;
  }
  if (pgTabs.PageIndex() < kProgressPage) pgTabs.SetPageIndex(pgTabs.PageIndex() + 1);
  if (pgTabs.PageIndex() == kProgressPage) RunProcessing();
}

void TfrmQORMain::btnBackClick() {
  btnBack.SetEnabled(false);
  if (pgTabs.PageIndex() > kFirstPage) pgTabs.SetPageIndex(pgTabs.PageIndex() - 1);
  btnBack.SetEnabled(pgTabs.PageIndex() > kFirstPage);
  btnNext.SetEnabled(true);
}

void TfrmQORMain::btnCancelClick() {
  if ((busy_ || pgTabs.PageIndex() < kOptionsPage) &&
      services_.messages.Show({"Close QOR for Outlook?", "Warning", MessageButtons::YesNo, MessageIcon::None}) !=
          MessageResult::Yes) {
    return;
  }
  // A scan or run stops before its next item; the page then says where, and "Close" closes.
  if (busy_) {
    progress_.RequestStop();
    return;
  }
  Close();
}

bool TfrmQORMain::RunStoppable(const std::function<void()>& step) {
  struct BusyWhile {
    bool& busy;
    explicit BusyWhile(bool& flag) : busy(flag) { busy = true; }
    ~BusyWhile() { busy = false; }
  } busy(busy_);
  progress_.ResetStop();
  try {
    step();
    return true;
  } catch (const engine::StopRequested&) {
    progress_.ShowStopped();
    return false;
  }
}

bool TfrmQORMain::ScanSelectedFolder() {
  engine::ReadExclusions(usersAppFolderPath_, lstEmailAddressesExcluded.lines, exclusionEdits_);
  pgTabs.SetPageIndex(kProgressPage);
  progress_.SetLabel(kExtractingText);
  progress_.Repaint();
  // Stopped, the page stays with only "Close": a part of the folder goes nowhere.
  if (!RunStoppable([this] {
        engine::GetEmailAddressesFromFolder(services_.outlook, txtEmailFolder.text, data_, progress_, &chosenFolders_,
                                            &bounces_);
      })) {
    return false;
  }
  engine::MarkExclusions(lstEmailAddressesExcluded.lines, data_);

  auto& found = lstEmailAddressesFound.lines;
  found.items.clear();
  found.items.reserve(data_.size());
  found.itemIndex = -1;
  for (const auto& entry : data_) {
    if (engine::TakesPart(entry)) found.items.push_back(entry[engine::kAddress]);
  }
  lblFinding.caption.clear();
  pgTabs.SetPageIndex(kFirstPage);
  btnNext.SetEnabled(!found.items.empty());
  btnBack.SetEnabled(true);
  return true;
}

void TfrmQORMain::RunProcessing() {
  btnCancel.SetEnabled(true);
  engine::EngineContext context{services_.outlook,   data_,          progress_, engineServices_,
                                usersAppFolderPath_, &chosenFolders_, &bounces_};
  RunStoppable([&] { engine::RunProcessing(context, Options(), lstEmailAddressesExcluded.lines, exclusionEdits_); });
  btnBack.SetEnabled(false);
  btnNext.SetEnabled(false);
}

// --- The review page.

void TfrmQORMain::btnExcludeClick() {
  engine::btnExcludeClick(lstEmailAddressesFound.lines, lstEmailAddressesExcluded.lines, exclusionEdits_, data_,
                          usersAppFolderPath_);
  lstEmailAddressesFoundClick();
}

void TfrmQORMain::lstEmailAddressesFoundClick() {
  const auto& found = lstEmailAddressesFound.lines;
  lblFinding.caption.clear();
  if (found.itemIndex < 0 || found.itemIndex >= static_cast<int>(found.items.size())) return;
  const std::string& address = found.items[static_cast<std::size_t>(found.itemIndex)];
  for (std::size_t row = 0; row < data_.size(); ++row) {
    if (data_[row][engine::kAddress] == address) {
      lblFinding.caption = engine::DescribeFinding(bounces_.Finding(row));
      return;
    }
  }
}

void TfrmQORMain::btnRemoveExclusionClick() {
  engine::btnRemoveExclusionClick(lstEmailAddressesExcluded.lines, exclusionEdits_, data_, usersAppFolderPath_);
}

}  // namespace qor::wizard
