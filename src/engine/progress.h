#pragma once

#include <cstdint>
#include <string>

namespace qor::engine {

// The progress label and bar a long engine step reports to. The caller does not return to
// its message loop while the step runs, so a step asks for a repaint when it wants to be seen.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetLabel(const std::string& text) = 0;
  // 0x00BBGGRR, as Windows colours are.
  virtual void SetLabelColour(std::uint32_t colour) = 0;
  virtual void SetBarMinimum(int value) = 0;
  virtual void SetBarMaximum(int value) = 0;
  virtual void SetBarPosition(int value) = 0;
  virtual int BarPosition() const = 0;
  virtual void Repaint() = 0;
  // Called between two items of a long step, before the next one starts: a display keeps its
  // window answering here, and a stop the user asked for takes effect by throwing StopRequested.
  virtual void BetweenItems() {}
};

// Thrown by BetweenItems when the user stopped the step. No std::exception, so that no step's
// handling of failures takes it for one.
struct StopRequested {};

// Sets the label, puts the bar at 0 of `maximum` and shows both, as every step of a run begins.
inline void StartProgress(ProgressSink& progress, const std::string& label, int maximum) {
  progress.SetLabel(label);
  progress.SetBarMinimum(0);
  progress.SetBarPosition(0);
  progress.SetBarMaximum(maximum);
  progress.Repaint();
}

// Advances the bar one step and shows it, between the last item and the next.
inline void StepProgress(ProgressSink& progress) {
  progress.BetweenItems();
  progress.SetBarPosition(progress.BarPosition() + 1);
  progress.Repaint();
}

// Shows nothing; for runs without a window.
class NullProgress : public ProgressSink {
 public:
  void SetLabel(const std::string&) override {}
  void SetLabelColour(std::uint32_t) override {}
  void SetBarMinimum(int) override {}
  void SetBarMaximum(int) override {}
  void SetBarPosition(int value) override { position_ = value; }
  int BarPosition() const override { return position_; }
  void Repaint() override {}

 private:
  int position_ = 0;
};

}  // namespace qor::engine
