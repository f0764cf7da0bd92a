#pragma once

#include <cstdint>
#include <string_view>

#include "engine/engine_context.h"
#include "engine/exclusions.h"
#include "engine/list_model.h"
#include "engine/run_options.h"

namespace qor::engine {

inline constexpr std::string_view kFinishedText = "Finished performing all tasks.";
inline constexpr std::uint32_t kFinishedColour = 255;  // pure red

// Every ticked action in its fixed order: contact matching when an action needs contacts, then
// notes, export, address removal, contact copy or move, message move and the external program.
// An error ends the run where it occurs; only the notes action keeps its own errors.
void ProcessEmails(EngineContext& context, const RunOptions& options);

// The options page's "Next >>" once its checks have passed: save the exclusion edits still
// pending, run, and show the finished text in red with the bar at 0.
void RunProcessing(EngineContext& context, const RunOptions& options, StringListModel& excluded, ExclusionEdits& edits);

}  // namespace qor::engine
