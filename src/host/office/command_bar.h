#pragma once

// Typed late-bound views of an Office CommandBar, its Controls collection and a popup control.

#include "com/com_ptr.h"
#include "com/dispatch_call.h"
#include "host/office/command_bar_control.h"
#include "host/office/control_args.h"

#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>

namespace qor::host::office {

class CommandBarControls {
 public:
  explicit CommandBarControls(com::ComPtr<IDispatch> object);

  const com::ComPtr<IDispatch>& Object() const noexcept { return dispatch_.Object(); }

  int Count() const;
  CommandBarControl Item(int index) const;  // 1-based
  // The new control; placed before `before` when given.
  CommandBarControl Add(const AddControlArgs& args = {}) const;

 private:
  mutable com::Dispatch dispatch_;
};

class CommandBar {
 public:
  explicit CommandBar(com::ComPtr<IDispatch> object);

  const com::ComPtr<IDispatch>& Object() const noexcept { return dispatch_.Object(); }

  std::string Name() const;
  std::string NameLocal() const;
  bool BuiltIn() const;
  CommandBarControls Controls() const;
  // The first match; with `recursive` the bar's popups are searched too.
  std::optional<CommandBarControl> FindControl(const FindControlArgs& args, bool recursive = false) const;
  int Protection() const;  // MsoBarProtection flags
  void SetProtection(int protection) const;
  int Position() const;  // MsoBarPosition
  void SetPosition(int position) const;
  int Left() const;
  void SetLeft(int left) const;
  int Top() const;
  void SetTop(int top) const;
  int RowIndex() const;
  void SetRowIndex(int rowIndex) const;
  bool Enabled() const;
  void SetEnabled(bool enabled) const;
  bool Visible() const;
  void SetVisible(bool visible) const;
  int Type() const;  // MsoBarType
  void Delete() const;

 private:
  mutable com::Dispatch dispatch_;
};

class CommandBarPopup : public CommandBarControl {
 public:
  using CommandBarControl::CommandBarControl;

  CommandBar CommandBar() const;
  CommandBarControls Controls() const;
};

// A member returning an object; Nothing raises com::ComError(E_POINTER).
com::ComPtr<IDispatch> RequiredObject(const com::Variant& value);
// Nothing (or Empty) as an empty optional.
std::optional<com::ComPtr<IDispatch>> OptionalObject(const com::Variant& value);

}  // namespace qor::host::office
