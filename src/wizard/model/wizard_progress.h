#pragma once

#include <string>

#include "engine/progress.h"
#include "wizard/model/controls.h"

namespace qor::wizard {

// The progress page as the engine reports to it. It keeps the label and the bar up to date and
// tells the display every change, but asks it to repaint only when the user would see a
// difference: another page, another label text or colour, or another filled width of the bar in
// its designed pixels. A scan of 100,000 messages thus repaints a few hundred times, not 100,000.
class WizardProgress final : public engine::ProgressSink {
 public:
  WizardProgress(const PageControl& pages, Label& label, ProgressBar& bar, engine::ProgressSink& display)
      : pages_(pages), label_(label), bar_(bar), display_(display) {}

  void SetLabel(const std::string& text) override;
  void SetLabelColour(std::uint32_t colour) override;
  void SetBarMinimum(int value) override;
  void SetBarMaximum(int value) override;
  void SetBarPosition(int value) override;
  int BarPosition() const override { return bar_.position; }
  void Repaint() override;
  // Lets the display answer its window, then throws engine::StopRequested when a stop was asked.
  void BetweenItems() override;

  // The user asked to stop the step running: it stops before its next item.
  void RequestStop() noexcept { stopRequested_ = true; }
  void ResetStop() noexcept { stopRequested_ = false; }
  // After a stop: the label says after which item of which step it stopped.
  void ShowStopped();

  // The display may show something else now (the window brought itself up to date after a user's
  // action): the next repaint goes through.
  void Invalidate() noexcept { painted_ = false; }

 private:
  int FilledWidth() const noexcept;

  const PageControl& pages_;
  Label& label_;
  ProgressBar& bar_;
  engine::ProgressSink& display_;

  bool stopRequested_ = false;
  std::string stoppedAt_;
  // What the display showed at its last repaint.
  bool painted_ = false;
  int paintedPage_ = 0;
  std::string paintedLabel_;
  Colour paintedColour_ = 0;
  int paintedWidth_ = 0;
};

}  // namespace qor::wizard
