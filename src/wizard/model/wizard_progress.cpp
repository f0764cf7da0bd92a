#include "wizard/model/wizard_progress.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace qor::wizard {

void WizardProgress::SetLabel(const std::string& text) {
  label_.caption = text;
  display_.SetLabel(text);
}

void WizardProgress::SetLabelColour(std::uint32_t colour) {
  label_.fontColour = colour;
  display_.SetLabelColour(colour);
}

void WizardProgress::SetBarMinimum(int value) {
  bar_.minimum = value;
  display_.SetBarMinimum(value);
}

void WizardProgress::SetBarMaximum(int value) {
  bar_.maximum = value;
  display_.SetBarMaximum(value);
}

void WizardProgress::SetBarPosition(int value) {
  bar_.position = value;
  display_.SetBarPosition(value);
}

void WizardProgress::BetweenItems() {
  display_.BetweenItems();
  if (!stopRequested_) return;
  // Taken now: a step resets its bar as it unwinds.
  std::string step = label_.caption;
  if (step.ends_with("...")) step.resize(step.size() - 3);
  // Short enough for the label's one line: "Stopped at 1926/10000: Extracting bounce back e-mail addresses".
  stoppedAt_ = "Stopped at " + std::to_string(bar_.position) + "/" + std::to_string(bar_.maximum) + ": " + step;
  throw engine::StopRequested{};
}

void WizardProgress::ShowStopped() {
  SetLabel(stoppedAt_);
  Repaint();
}

int WizardProgress::FilledWidth() const noexcept {
  const std::int64_t range = static_cast<std::int64_t>(bar_.maximum) - bar_.minimum;
  if (range <= 0) return 0;
  const std::int64_t done = std::clamp<std::int64_t>(static_cast<std::int64_t>(bar_.position) - bar_.minimum, 0, range);
  return static_cast<int>(done * bar_.BoundsRect().width / range);
}

void WizardProgress::Repaint() {
  const int page = pages_.PageIndex();
  const int width = FilledWidth();
  if (painted_ && page == paintedPage_ && width == paintedWidth_ && label_.fontColour == paintedColour_ &&
      label_.caption == paintedLabel_) {
    return;
  }
  painted_ = true;
  paintedPage_ = page;
  paintedWidth_ = width;
  paintedColour_ = label_.fontColour;
  if (label_.caption != paintedLabel_) paintedLabel_ = label_.caption;
  display_.Repaint();
}

}  // namespace qor::wizard
