#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/progress.h"

namespace qor::tests {

// Keeps every label and the bar's state, and counts repaints with the bar position seen.
class RecordingProgress : public engine::ProgressSink {
 public:
  void SetLabel(const std::string& text) override { labels.push_back(text); }
  void SetLabelColour(std::uint32_t value) override { colour = value; }
  void SetBarMinimum(int value) override { minimum = value; }
  void SetBarMaximum(int value) override { maximum = value; }
  void SetBarPosition(int value) override { position = value; }
  int BarPosition() const override { return position; }
  void Repaint() override { repaintedAt.push_back(position); }
  void BetweenItems() override {
    if (onBetweenItems) onBetweenItems();
  }

  std::vector<std::string> labels;
  std::uint32_t colour = 0;
  int minimum = -1;
  int maximum = -1;
  int position = -1;
  std::vector<int> repaintedAt;
  // What the user does while the window answers.
  std::function<void()> onBetweenItems;
};

}  // namespace qor::tests
