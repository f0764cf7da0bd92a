#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bounce_report.h"
#include "engine/chosen_folders.h"
#include "engine/email_data.h"
#include "engine/engine_context.h"
#include "engine/exclusions.h"
#include "engine/run_options.h"
#include "wizard/model/controls.h"
#include "wizard/model/option_checks.h"
#include "wizard/model/wizard_progress.h"
#include "wizard/model/wizard_services.h"

namespace qor::wizard {

// The five-page wizard: confirm the folder, review and exclude the addresses found, choose the
// contact folders, choose the actions, run them. Its controls are public like a designed form's;
// every rule that ties them together lives in its handlers. A window shows it and feeds the user's
// input to the User* methods; a script or a headless run does the same without a window.
class TfrmQORMain {
 public:
  // Create and FormCreate: the designed controls in their initial states, the application folder
  // made. `data` is the address table the scan fills (the library's own by default).
  explicit TfrmQORMain(WizardServices services, engine::TEmailData& data = engine::olEmailData());
  TfrmQORMain(const TfrmQORMain&) = delete;
  TfrmQORMain& operator=(const TfrmQORMain&) = delete;

  // Puts the path of the folder Outlook's active explorer shows into the first page. Host
  // failures pass to the caller, as they would out of showing the form.
  void FormShow();

  // --- A user's input. Each returns false, changing nothing, when the user could not have done it
  // (the control is disabled, on a page not shown, or the wizard is closed). An error a handler
  // raises is shown in an error message box, as the user-interface framework shows it, and the
  // wizard goes on.
  bool UserClick(Control& control);
  // Replaces the text of an editable edit box.
  bool UserType(Edit& edit, const std::string& text);
  // Selects line `index` (-1 clears) of a list box or the drop-down; an index past the lines clears.
  bool UserSelect(Control& list, int index);
  bool UserShowTab(PageControl& pages, int index);

  // Null for a name the form does not have.
  Control* FindControl(std::string_view name);
  // Every control, in reading order (the order the keyboard's Tab key follows).
  const std::vector<Control*>& Controls() const noexcept { return controls_; }

  bool Closed() const noexcept { return closed_; }
  // A scan or a run is going on: only "Close" takes input, to stop it.
  bool Busy() const noexcept { return busy_; }
  // Called once when the wizard closes itself (the "Close" button).
  std::function<void()> onClose;

  const std::string& usersAppFolderPath() const noexcept { return usersAppFolderPath_; }
  // The state of the option controls, as the processing run reads it.
  engine::RunOptions Options() const;

  // --- The designed controls.
  PageControl pgTabs;
  TabSheet& page1;
  TabSheet& page2;
  TabSheet& page3;
  TabSheet& page4;
  TabSheet& page5;

  Label Label6;
  Label Label7;
  Label Label1;
  Edit txtEmailFolder;

  PageControl PageControl1;
  TabSheet& pgPreview;
  TabSheet& pgExclusions;
  Label Label4;
  ListBox lstEmailAddressesFound;
  Button btnExclude;
  Label lblFinding;
  Label Label5;
  ListBox lstEmailAddressesExcluded;
  Button btnRemoveExclusion;

  Label Label3;
  CheckBox chkScanContactFolder;
  ListBox lstContactFolders;
  Button btnSelectContactFolder;
  Button btnremovecontactfolder;

  PageControl pgActions;
  TabSheet& TabSheet5;
  TabSheet& TabSheet6;
  CheckBox chkExportToTab;
  Edit txtTabFilePath;
  Button btnSaveToCSV;
  CheckBox chkExportContactFields;
  CheckBox chkName;
  CheckBox chkCompany;
  CheckBox chkPhone;
  CheckBox chkDeleteEmailAddress;
  CheckBox chkAutoCascadeEmailAddress;
  CheckBox chkAddNotes;
  CheckBox chkNotesDateStamp;
  CheckBox chkOnlyFailed;
  CheckBox chkMoveEmail;
  Edit txtDestinationMailFolder;
  Button BitBtn1;
  CheckBox chkMoveContact;
  ComboBox cbxCopyorMove;
  Label Label2;
  Edit txtDestinationContactFolder;
  Button BitBtn2;
  CheckBox chkExecuteApplication;
  Edit edtExternalExePath;
  Button BitBtn3;
  Label Label8;
  Edit edtparameters;
  Button BitBtn4;

  Label lblProgress;
  ProgressBar prgBar;

  Button btnBack;
  Button btnNext;
  Button btnCancel;

  // --- Handlers, named after their control and event.
  void btnNextClick();
  void btnBackClick();
  void btnCancelClick();
  void btnExcludeClick();
  void lstEmailAddressesFoundClick();
  void btnRemoveExclusionClick();
  void chkScanContactFolderClick();
  void SetupActionControls();
  void btnSelectContactFolderClick();
  void btnremovecontactfolderClick();
  void chkExportToTabClick();
  void chkExportContactFieldsClick();
  void chkDeleteEmailAddressClick();
  void chkAddNotesClick();
  void chkMoveEmailClick();
  void chkMoveContactClick();
  void chkExecuteApplicationClick();
  void btnSaveToCSVClick();
  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();

 private:
  // Message boxes the engine shows (a note that could not be written, a program that could not be
  // started) go through the wizard's message service.
  class PlainMessages final : public platform::MessageBoxes {
   public:
    explicit PlainMessages(MessageService& messages) : messages_(messages) {}
    void Show(const std::string& text) override;
    void ShowError(const std::string& text) override;

   private:
    MessageService& messages_;
  };

  void WireHandlers();
  void AddControl(Control& control) { controls_.push_back(&control); }
  // Runs a user's action under the default error handler.
  void Dispatch(const std::function<void()>& action);
  void ShowRefusal(const Refusal& refusal);
  void Close();
  // The first page's "Next >>": read the exclusions, scan, mark, list the addresses left; false
  // when the user stopped the scan.
  bool ScanSelectedFolder();
  void RunProcessing();
  // Runs a scan or a run while the display keeps the window answering; false when the user
  // stopped it between two items, which the progress label then says.
  bool RunStoppable(const std::function<void()>& step);
  std::shared_ptr<host::Folder> PickFolder();

  WizardServices services_;
  PlainMessages plainMessages_;
  platform::Services engineServices_;
  engine::TEmailData& data_;
  // What the scan found out about each address of data_, row for row.
  engine::BounceReport bounces_;
  WizardProgress progress_;
  std::string usersAppFolderPath_;
  // The exclusions added and removed on the review page that the file may not hold yet.
  engine::ExclusionEdits exclusionEdits_;
  // The folders the explorer and the pickers gave, which the paths on the pages name.
  engine::ChosenFolders chosenFolders_;
  std::vector<Control*> controls_;
  bool closed_ = false;
  bool busy_ = false;
};

}  // namespace qor::wizard
