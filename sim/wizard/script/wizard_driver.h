#pragma once

// The wizard as a script sees it: named controls a user clicks, types into, selects in and reads.
// The model itself drives it without a window; the real dialog drives it with window messages.

#include <stdexcept>
#include <string>

#include "wizard/model/frm_qor_main.h"

namespace qor::wizard {

// A mistake in a script: an unknown command, control or property, or a malformed argument.
class ScriptError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

class WizardDriver {
 public:
  virtual ~WizardDriver() = default;

  // The form whose controls the names refer to.
  virtual TfrmQORMain& Form() = 0;
  // Once closed, the wizard takes no more commands.
  virtual bool Closed() { return Form().Closed(); }

  // Each returns false, doing nothing, where a user could not have acted: a disabled control, one
  // on a page not shown, a box that takes no typing.
  virtual bool Click(Control& control) = 0;
  virtual bool Type(Edit& edit, const std::string& text) = 0;
  virtual bool Select(Control& list, int index) = 0;
  virtual bool ShowTab(PageControl& pages, int index) = 0;

  // The value `show` prints; `property` has been checked against the control's kind.
  virtual std::string Property(Control& control, const std::string& property) = 0;
};

// Throws ScriptError when a control of this kind has no such property.
void CheckProperty(const Control& control, const std::string& property);

// How the model states a property's value, the way `show` prints it.
std::string ModelProperty(const Control& control, const std::string& property);

std::string FormatBool(bool value);
// "window", "btnface", "windowtext", "red", else "#RRGGBB".
std::string FormatColour(Colour colour);
std::string JoinLines(const engine::StringListModel& lines);

// The wizard's model driven directly, as `qor wizard` does without --window.
class ModelDriver final : public WizardDriver {
 public:
  explicit ModelDriver(TfrmQORMain& form) : form_(form) {}

  TfrmQORMain& Form() override { return form_; }
  bool Click(Control& control) override { return form_.UserClick(control); }
  bool Type(Edit& edit, const std::string& text) override { return form_.UserType(edit, text); }
  bool Select(Control& list, int index) override { return form_.UserSelect(list, index); }
  bool ShowTab(PageControl& pages, int index) override { return form_.UserShowTab(pages, index); }
  std::string Property(Control& control, const std::string& property) override {
    return ModelProperty(control, property);
  }

 private:
  TfrmQORMain& form_;
};

}  // namespace qor::wizard
