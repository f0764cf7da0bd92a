#include "engine/processing_run.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// Leaves every entry but the permanent failures out of one run: they are marked excluded while
// it goes on and get their marks back however it ends, so the exclusion file, written before the
// run, never hears of them.
class PermanentFailuresOnly {
 public:
  PermanentFailuresOnly(TEmailData& data, const BounceReport* report) : data_(data) {
    for (std::size_t row = 0; row < data_.size(); ++row) {
      if (report && report->Finding(row).FailedPermanently()) continue;
      marks_.emplace_back(row, std::exchange(data_[row][kExcluded], std::string(kExcludedMark)));
    }
  }
  ~PermanentFailuresOnly() {
    for (auto& [row, mark] : marks_) {
      if (row < data_.size()) data_[row][kExcluded] = std::move(mark);
    }
  }
  PermanentFailuresOnly(const PermanentFailuresOnly&) = delete;
  PermanentFailuresOnly& operator=(const PermanentFailuresOnly&) = delete;

 private:
  TEmailData& data_;
  std::vector<std::pair<std::size_t, std::string>> marks_;
};

}  // namespace

void ProcessEmails(EngineContext& context, const RunOptions& options) {
  std::optional<PermanentFailuresOnly> leftOut;
  if (options.onlyFailedPermanently) leftOut.emplace(context.data, context.bounces);

  if (NeedsContacts(options)) GetLinkedContacts(context, options);
  if (context.data.empty()) return;

  if (options.addNotes) AddNotes(context, options.notesDateStamp);
  if (options.exportToTab) ExportToTabFile(context, options);
  if (options.deleteEmailAddress) DeleteEmailAddress(context, options.autoCascade);
  if (options.moveContact) MoveContactsToFolder(context, options.destinationContactFolder, options.copyOrMove);
  if (options.moveEmail) {
    if (options.onlyFailedPermanently) {
      MoveProcessedBounces(context, options.emailFolder, options.destinationMailFolder);
    } else {
      MoveEmails(context, options.emailFolder, options.destinationMailFolder);
    }
  }
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
