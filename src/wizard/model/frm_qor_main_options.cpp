// The contact folders and options pages: the boxes that enable, disable or clear each other, and
// the pickers that fill the read-only path boxes.
#include "engine/external_app.h"
#include "engine/folder_path.h"
#include "wizard/model/frm_qor_main.h"

namespace qor::wizard {

namespace {

// A path box that takes part is white; one that does not takes the button-face colour.
void Paint(Edit& box, bool active) { box.colour = active ? kWindowColour : kBtnFaceColour; }

}  // namespace

std::shared_ptr<host::Folder> TfrmQORMain::PickFolder() {
  return services_.outlook.GetNamespace("MAPI")->PickFolder();
}

void TfrmQORMain::chkScanContactFolderClick() { SetupActionControls(); }

void TfrmQORMain::SetupActionControls() {
  const bool scan = chkScanContactFolder.Checked();
  btnremovecontactfolder.SetEnabled(scan);
  btnSelectContactFolder.SetEnabled(scan);
  if (!scan) {
    chkMoveContact.SetChecked(false);
    chkExportContactFields.SetChecked(false);
    chkAutoCascadeEmailAddress.SetChecked(false);
    chkDeleteEmailAddress.SetChecked(false);
    chkAddNotes.SetChecked(false);
  }
  chkMoveContact.SetEnabled(scan);
  chkAddNotes.SetEnabled(scan);
  chkDeleteEmailAddress.SetEnabled(scan);
}

void TfrmQORMain::btnSelectContactFolderClick() {
  const auto folder = PickFolder();
  if (!folder) return;
  if (const auto refusal = CheckContactFolderPick(*folder)) return ShowRefusal(*refusal);
  if (HoldsFolderPath(lstContactFolders.lines.items, engine::GetFullFolderName(folder))) return;
  lstContactFolders.lines.items.push_back(chosenFolders_.Remember(folder));
}

void TfrmQORMain::btnremovecontactfolderClick() {
  auto& lines = lstContactFolders.lines;
  if (lines.itemIndex < 0 || lines.itemIndex >= static_cast<int>(lines.items.size())) return;
  lines.items.erase(lines.items.begin() + lines.itemIndex);
  lines.itemIndex = -1;
}

void TfrmQORMain::chkExportToTabClick() {
  const bool ticked = chkExportToTab.Checked();
  txtTabFilePath.SetEnabled(ticked);
  btnSaveToCSV.SetEnabled(ticked);
  if (ticked) {
    const bool contactsListed = chkScanContactFolder.Checked() && !lstContactFolders.lines.items.empty();
    if (!contactsListed) chkExportContactFields.SetChecked(false);
    chkExportContactFields.SetEnabled(contactsListed);
    return;
  }
  for (CheckBox* box : {&chkName, &chkCompany, &chkPhone, &chkExportContactFields}) {
    box->SetChecked(false);
    box->SetEnabled(false);
  }
  txtTabFilePath.text.clear();
}

void TfrmQORMain::chkExportContactFieldsClick() {
  const bool ticked = chkExportContactFields.Checked();
  for (CheckBox* box : {&chkName, &chkCompany, &chkPhone}) {
    box->SetEnabled(ticked);
    if (!ticked) box->SetChecked(false);
  }
}

void TfrmQORMain::chkDeleteEmailAddressClick() {
  const bool ticked = chkDeleteEmailAddress.Checked();
  chkAutoCascadeEmailAddress.SetEnabled(ticked);
  if (!ticked) chkAutoCascadeEmailAddress.SetChecked(false);
}

void TfrmQORMain::chkAddNotesClick() {
  const bool ticked = chkAddNotes.Checked();
  chkNotesDateStamp.SetEnabled(ticked);
  if (!ticked) chkNotesDateStamp.SetChecked(false);
}

void TfrmQORMain::chkMoveEmailClick() {
  BitBtn1.SetEnabled(chkMoveEmail.Checked());
  Paint(txtDestinationMailFolder, chkMoveEmail.Checked());
}

void TfrmQORMain::chkMoveContactClick() {
  BitBtn2.SetEnabled(chkMoveContact.Checked());
  Paint(txtDestinationContactFolder, chkMoveContact.Checked());
}

void TfrmQORMain::chkExecuteApplicationClick() {
  const bool ticked = chkExecuteApplication.Checked();
  edtExternalExePath.SetEnabled(ticked);
  edtparameters.SetEnabled(ticked);
  BitBtn3.SetEnabled(ticked);
  if (ticked) {
    const auto stored = engine::RestoreExePathAndParam(services_.platform.settings);
    edtExternalExePath.text = stored.exePath;
    edtparameters.text = stored.exeParam;
  }
  Paint(edtExternalExePath, ticked);
  Paint(edtparameters, ticked);
}

void TfrmQORMain::btnSaveToCSVClick() {
  if (auto file = services_.files.Save({"Save To Text File", "Text File|*.txt", ".txt"})) {
    txtTabFilePath.text = std::move(*file);
  }
}

void TfrmQORMain::BitBtn1Click() {
  const auto folder = PickFolder();
  if (!folder) return;
  if (const auto refusal = CheckMailDestinationPick(folder, txtEmailFolder.text)) return ShowRefusal(*refusal);
  txtDestinationMailFolder.text = chosenFolders_.Remember(folder);
}

void TfrmQORMain::BitBtn2Click() {
  const auto folder = PickFolder();
  if (!folder) return;
  if (const auto refusal = CheckContactDestinationPick(folder, lstContactFolders.lines.items)) {
    return ShowRefusal(*refusal);
  }
  txtDestinationContactFolder.text = chosenFolders_.Remember(folder);
}

void TfrmQORMain::BitBtn3Click() {
  if (auto file = services_.files.Open({"", "", "exe"})) edtExternalExePath.text = std::move(*file);
}

}  // namespace qor::wizard
