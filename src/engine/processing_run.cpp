#include "engine/processing_run.h"

#include <string>

#include "engine/contact_actions.h"
#include "engine/contact_matching.h"
#include "engine/exclusions.h"
#include "engine/export_file.h"
#include "engine/external_app.h"
#include "engine/message_actions.h"

namespace qor::engine {

namespace {

bool NeedsContacts(const RunOptions& options) {
  return options.addNotes || options.deleteEmailAddress || options.moveContact ||
         (options.exportToTab && options.exportContactFields);
}

}  // namespace

void ProcessEmails(EngineContext& context, const RunOptions& options) {
  if (NeedsContacts(options)) GetLinkedContacts(context, options);
  if (context.data.empty()) return;

  if (options.addNotes) AddNotes(context, options.notesDateStamp);
  if (options.exportToTab) ExportToTabFile(context, options);
  if (options.deleteEmailAddress) DeleteEmailAddress(context, options.autoCascade);
  if (options.moveContact) MoveContactsToFolder(context, options.destinationContactFolder, options.copyOrMove);
  if (options.moveEmail) MoveEmails(context, options.emailFolder, options.destinationMailFolder);
  if (options.executeApplication) {
    ExportEmailAddressOnly(context);
    ExecuteApplication(context, options.externalExePath, options.parameters);
    SaveExePathAndParam(context.services.settings, {options.externalExePath, options.parameters});
  }
}

void RunProcessing(EngineContext& context, const RunOptions& options, StringListModel& excluded,
                   ExclusionEdits& edits) {
  SaveExclusions(context.usersAppFolderPath, excluded, edits);
  ProcessEmails(context, options);
  context.progress.SetLabel(std::string(kFinishedText));
  context.progress.SetLabelColour(kFinishedColour);
  context.progress.SetBarPosition(0);
  context.progress.Repaint();
}

}  // namespace qor::engine
