// The wizard's designed contents: every control with its name, caption, hint, place and initial
// state, in reading order. Places are pixels at 96 DPI within the control's sheet.
#include <algorithm>

#include "engine/exclusions.h"
#include "wizard/model/frm_qor_main.h"

namespace qor::wizard {

namespace {

constexpr int kPathBoxWidth = 360;
constexpr int kPickerLeft = 392;

}  // namespace

TfrmQORMain::TfrmQORMain(WizardServices services, engine::TEmailData& data)
    : pgTabs("pgTabs", nullptr, {0, 0, 457, 273}, false),
      page1(pgTabs.AddSheet("page1", "", true)),
      page2(pgTabs.AddSheet("page2", "", true)),
      page3(pgTabs.AddSheet("page3", "", true)),
      page4(pgTabs.AddSheet("page4", "")),
      page5(pgTabs.AddSheet("page5", "", true)),

      Label6("Label6", &page1, {24, 24, 405, 42},
             "QOR for Outlook will scan all e-mail messages in the selected folder.  Please confirm that the e-mail "
             "folder name shown below is the correct e-mail folder that you would like to scan.",
             {.wordWrap = true}),
      Label7("Label7", &page1, {24, 78, 300, 13}, "Click \"Next\" to continue."),
      Label1("Label1", &page1, {24, 124, 200, 13}, "Selected E-mail Folder", {.bold = true}),
      txtEmailFolder("txtEmailFolder", &page1, {24, 142, 405, 21}, true),

      PageControl1("PageControl1", &page2, {8, 8, 437, 253}, true),
      pgPreview(PageControl1.AddSheet("pgPreview", "Preview E-mail Addresses")),
      pgExclusions(PageControl1.AddSheet("pgExclusions", "E-mail Address Exclusions")),
      Label4("Label4", &pgPreview, {8, 8, 300, 13}, "List of e-mail addresses found"),
      lstEmailAddressesFound("lstEmailAddressesFound", &pgPreview, {8, 26, 413, 160}),
      btnExclude("btnExclude", ControlKind::LinkButton, &pgPreview, {8, 194, 190, 17},
                 "Exclude Selected E-mail Address"),
      lblFinding("lblFinding", &pgPreview, {8, 213, 413, 13}, ""),
      Label5("Label5", &pgExclusions, {8, 8, 300, 13}, "List of excluded e-mail addresses"),
      lstEmailAddressesExcluded("lstEmailAddressesExcluded", &pgExclusions, {8, 26, 413, 160}),
      btnRemoveExclusion("btnRemoveExclusion", ControlKind::LinkButton, &pgExclusions, {8, 194, 190, 17},
                         "Remove From Exclusion List"),

      Label3("Label3", &page3, {24, 16, 405, 56},
             "To export or update contact records associated to the e-mail addresses extracted from the mail folder "
             "which was selected, make sure to add the contact folders which may contain matching e-mail addresses.",
             {.wordWrap = true}),
      chkScanContactFolder("chkScanContactFolder", &page3, {24, 80, 300, 17}, "Scan Selected Contact Folders"),
      lstContactFolders("lstContactFolders", &page3, {24, 102, 405, 124}),
      btnSelectContactFolder("btnSelectContactFolder", ControlKind::LinkButton, &page3, {24, 234, 40, 17}, "Add"),
      btnremovecontactfolder("btnremovecontactfolder", ControlKind::LinkButton, &page3, {72, 234, 60, 17},
                             "Remove"),

      pgActions("pgActions", &page4, {8, 8, 441, 257}, true),
      TabSheet5(pgActions.AddSheet("TabSheet5", "Basic Options")),
      TabSheet6(pgActions.AddSheet("TabSheet6", "Advanced Options")),
      chkExportToTab("chkExportToTab", &TabSheet5, {8, 8, 380, 17}, "Export E-mail Addresses To Tab Delimited File"),
      txtTabFilePath("txtTabFilePath", &TabSheet5, {28, 30, kPathBoxWidth, 21}, true),
      btnSaveToCSV("btnSaveToCSV", ControlKind::Button, &TabSheet5, {kPickerLeft, 30, 25, 21}, "..."),
      chkExportContactFields("chkExportContactFields", &TabSheet5, {28, 58, 300, 17},
                             "Include Contact Fields To Exported File"),
      chkName("chkName", &TabSheet5, {48, 80, 70, 17}, "Name"),
      chkCompany("chkCompany", &TabSheet5, {126, 80, 80, 17}, "Company"),
      chkPhone("chkPhone", &TabSheet5, {214, 80, 70, 17}, "Phone"),
      chkDeleteEmailAddress("chkDeleteEmailAddress", &TabSheet5, {8, 110, 300, 17}, "Delete E-mail Address"),
      chkAutoCascadeEmailAddress("chkAutoCascadeEmailAddress", &TabSheet5, {28, 132, 300, 17},
                                 "Automatically Cascade E-mail Addresses"),
      chkAddNotes("chkAddNotes", &TabSheet5, {8, 162, 380, 17}, "Add Notes Message including e-mail address"),
      chkNotesDateStamp("chkNotesDateStamp", &TabSheet5, {28, 184, 300, 17}, "Include Date Stamp"),
      chkOnlyFailed("chkOnlyFailed", &TabSheet5, {8, 210, 380, 17}, "Process only addresses that failed permanently"),

      chkMoveEmail("chkMoveEmail", &TabSheet6, {8, 8, 380, 17}, "Move E-mail Message To Another E-mail Folder"),
      txtDestinationMailFolder("txtDestinationMailFolder", &TabSheet6, {28, 30, kPathBoxWidth, 21}, true),
      BitBtn1("BitBtn1", ControlKind::Button, &TabSheet6, {kPickerLeft, 30, 25, 21}, "..."),
      chkMoveContact("chkMoveContact", &TabSheet6, {8, 66, 17, 17}, ""),
      cbxCopyorMove("cbxCopyorMove", &TabSheet6, {28, 64, 64, 21}, {"Copy", "Move"}),
      Label2("Label2", &TabSheet6, {98, 68, 300, 13}, "Associated Contact To Another Contact Folder"),
      txtDestinationContactFolder("txtDestinationContactFolder", &TabSheet6, {28, 90, kPathBoxWidth, 21}, true),
      BitBtn2("BitBtn2", ControlKind::Button, &TabSheet6, {kPickerLeft, 90, 25, 21}, "..."),
      chkExecuteApplication("chkExecuteApplication", &TabSheet6, {8, 126, 300, 17}, "Run external application"),
      edtExternalExePath("edtExternalExePath", &TabSheet6, {28, 148, kPathBoxWidth, 21}, false),
      BitBtn3("BitBtn3", ControlKind::Button, &TabSheet6, {kPickerLeft, 148, 25, 21}, "..."),
      Label8("Label8", &TabSheet6, {28, 176, 100, 13}, "Parameters"),
      edtparameters("edtparameters", &TabSheet6, {28, 192, kPathBoxWidth, 21}, false),
      BitBtn4("BitBtn4", ControlKind::Button, &TabSheet6, {kPickerLeft, 192, 25, 21}, "..."),

      lblProgress("lblProgress", &page5, {24, 100, 385, 13}, ""),
      prgBar("prgBar", &page5, {24, 120, 405, 17}),

      btnBack("btnBack", ControlKind::Button, nullptr, {110, 277, 107, 33}, "<< Back"),
      btnNext("btnNext", ControlKind::Button, nullptr, {227, 277, 107, 33}, "Next >>"),
      btnCancel("btnCancel", ControlKind::Button, nullptr, {344, 277, 107, 33}, "Close"),

      services_(services),
      plainMessages_(services.messages),
      engineServices_{services.platform.settings, services.platform.shell, services.platform.folders,
                      plainMessages_, services.platform.clock},
      data_(data),
      progress_(pgTabs, lblProgress, prgBar, services.display) {
  for (Control* control : std::initializer_list<Control*>{
           &pgTabs, &Label6, &Label7, &Label1, &txtEmailFolder, &PageControl1, &Label4, &lstEmailAddressesFound,
           &btnExclude, &lblFinding, &Label5, &lstEmailAddressesExcluded, &btnRemoveExclusion, &Label3, &chkScanContactFolder,
           &lstContactFolders, &btnSelectContactFolder, &btnremovecontactfolder, &pgActions, &chkExportToTab,
           &txtTabFilePath, &btnSaveToCSV, &chkExportContactFields, &chkName, &chkCompany, &chkPhone,
           &chkDeleteEmailAddress, &chkAutoCascadeEmailAddress, &chkAddNotes, &chkNotesDateStamp, &chkOnlyFailed,
           &chkMoveEmail,
           &txtDestinationMailFolder, &BitBtn1, &chkMoveContact, &cbxCopyorMove, &Label2,
           &txtDestinationContactFolder, &BitBtn2, &chkExecuteApplication, &edtExternalExePath, &BitBtn3, &Label8,
           &edtparameters, &BitBtn4, &lblProgress, &prgBar, &btnBack, &btnNext, &btnCancel}) {
    AddControl(*control);
  }

  btnExclude.hint = "Select one of the displayed e-mail addresses to exclude the e-mail address for processing.";
  btnRemoveExclusion.hint = "Select one of the e-mail addresses to included the e-mail address in the process.";
  btnBack.SetEnabled(false);
  txtEmailFolder.SetEnabled(false);
  for (Control* control : std::initializer_list<Control*>{
           &txtTabFilePath, &btnSaveToCSV, &chkExportContactFields, &chkName, &chkCompany, &chkPhone,
           &chkAutoCascadeEmailAddress, &chkNotesDateStamp, &BitBtn1, &BitBtn2, &edtExternalExePath, &BitBtn3,
           &edtparameters, &BitBtn4}) {
    control->SetEnabled(false);
  }
  for (Edit* box : {&txtDestinationMailFolder, &txtDestinationContactFolder, &edtExternalExePath, &edtparameters}) {
    box->colour = kBtnFaceColour;
  }
  WireHandlers();

  // Create: the first tab of each tab control.
  PageControl1.SetPageIndex(0);
  pgActions.SetPageIndex(0);
  // FormCreate.
  cbxCopyorMove.lines.itemIndex = static_cast<int>(engine::ContactTransfer::Copy);
  pgTabs.SetPageIndex(0);
  usersAppFolderPath_ = services.usersAppFolderPath ? *services.usersAppFolderPath
                                                    : engine::MakeUsersAppFolderPath(services.platform.folders);
  engine::CreateUsersAppFolder(usersAppFolderPath_);
}

void TfrmQORMain::WireHandlers() {
  btnNext.onClick = [this] { btnNextClick(); };
  btnBack.onClick = [this] { btnBackClick(); };
  btnCancel.onClick = [this] { btnCancelClick(); };
  btnExclude.onClick = [this] { btnExcludeClick(); };
  lstEmailAddressesFound.onClick = [this] { lstEmailAddressesFoundClick(); };
  btnRemoveExclusion.onClick = [this] { btnRemoveExclusionClick(); };
  chkScanContactFolder.onClick = [this] { chkScanContactFolderClick(); };
  btnSelectContactFolder.onClick = [this] { btnSelectContactFolderClick(); };
  btnremovecontactfolder.onClick = [this] { btnremovecontactfolderClick(); };
  chkExportToTab.onClick = [this] { chkExportToTabClick(); };
  chkExportContactFields.onClick = [this] { chkExportContactFieldsClick(); };
  chkDeleteEmailAddress.onClick = [this] { chkDeleteEmailAddressClick(); };
  chkAddNotes.onClick = [this] { chkAddNotesClick(); };
  chkMoveEmail.onClick = [this] { chkMoveEmailClick(); };
  chkMoveContact.onClick = [this] { chkMoveContactClick(); };
  chkExecuteApplication.onClick = [this] { chkExecuteApplicationClick(); };
  btnSaveToCSV.onClick = [this] { btnSaveToCSVClick(); };
  BitBtn1.onClick = [this] { BitBtn1Click(); };
  BitBtn2.onClick = [this] { BitBtn2Click(); };
  BitBtn3.onClick = [this] { BitBtn3Click(); };
}

}  // namespace qor::wizard
