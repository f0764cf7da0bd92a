#pragma once

#include <string>
#include <vector>

namespace qor::engine {

// Index of "Copy" and "Move" in the copy-or-move drop-down.
enum class ContactTransfer : int { Copy = 0, Move = 1 };

// The state of the wizard's option controls that a processing run reads.
struct RunOptions {
  std::string emailFolder;                  // txtEmailFolder: the scanned mail folder's path
  bool onlyFailedPermanently = false;       // chkOnlyFailed
  bool scanContactFolders = false;          // chkScanContactFolder
  std::vector<std::string> contactFolders;  // lstContactFolders

  bool addNotes = false;        // chkAddNotes
  bool notesDateStamp = false;  // chkNotesDateStamp

  bool exportToTab = false;          // chkExportToTab
  bool exportContactFields = false;  // chkExportContactFields
  bool exportName = false;           // chkName
  bool exportCompany = false;        // chkCompany
  bool exportPhone = false;          // chkPhone
  std::string tabFilePath;           // txtTabFilePath

  bool deleteEmailAddress = false;  // chkDeleteEmailAddress
  bool autoCascade = false;         // chkAutoCascadeEmailAddress

  bool moveContact = false;                            // chkMoveContact
  ContactTransfer copyOrMove = ContactTransfer::Copy;  // cbxCopyorMove
  std::string destinationContactFolder;                // txtDestinationContactFolder

  bool moveEmail = false;             // chkMoveEmail
  std::string destinationMailFolder;  // txtDestinationMailFolder

  bool executeApplication = false;  // chkExecuteApplication
  std::string externalExePath;      // edtExternalExePath
  std::string parameters;           // edtparameters
};

}  // namespace qor::engine
