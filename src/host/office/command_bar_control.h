#pragma once

// Typed late-bound views of Office's command-bar controls. Every member is found by name; a host
// failure throws com::ComError with Office's message. Like the COM objects they wrap, these are
// handles: copies share the object.

#include "com/com_ptr.h"
#include "com/dispatch_call.h"
#include "host/office/control_type.h"

#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>

namespace qor::host::office {

class CommandBar;

class CommandBarControl {
 public:
  // Throws com::ComError(E_POINTER) for a null object.
  explicit CommandBarControl(com::ComPtr<IDispatch> object);

  const com::ComPtr<IDispatch>& Object() const noexcept { return dispatch_.Object(); }

  std::string Tag() const;
  void SetTag(std::string_view tag) const;
  std::string Caption() const;
  void SetCaption(std::string_view caption) const;
  bool BeginGroup() const;
  void SetBeginGroup(bool beginGroup) const;
  std::string DescriptionText() const;
  void SetDescriptionText(std::string_view text) const;
  bool Enabled() const;
  void SetEnabled(bool enabled) const;
  bool Visible() const;
  void SetVisible(bool visible) const;
  int Height() const;
  void SetHeight(int height) const;
  int Width() const;
  void SetWidth(int width) const;
  int HelpContextId() const;
  void SetHelpContextId(int id) const;
  std::string HelpFile() const;
  void SetHelpFile(std::string_view file) const;
  std::string Parameter() const;
  void SetParameter(std::string_view parameter) const;
  int Priority() const;
  void SetPriority(int priority) const;
  std::string TooltipText() const;
  void SetTooltipText(std::string_view text) const;
  std::string OnAction() const;
  void SetOnAction(std::string_view action) const;

  int Id() const;
  int Index() const;  // 1-based
  // Fails once the control is gone: the liveness test of the framework's searches.
  ControlType Type() const;
  CommandBar Parent() const;
  CommandBarControl Move(const std::optional<CommandBar>& bar, std::optional<int> before) const;
  void Delete(std::optional<bool> temporary = std::nullopt) const;

 protected:
  com::Dispatch& Late() const noexcept { return dispatch_; }

 private:
  mutable com::Dispatch dispatch_;
};

class CommandBarButton : public CommandBarControl {
 public:
  using CommandBarControl::CommandBarControl;

  int FaceId() const;
  void SetFaceId(int faceId) const;
  std::string ShortcutText() const;
  void SetShortcutText(std::string_view text) const;
  int State() const;  // MsoButtonState
  void SetState(int state) const;
  int Style() const;  // MsoButtonStyle
  void SetStyle(int style) const;
  int HyperlinkType() const;
  void SetHyperlinkType(int type) const;
  com::ComPtr<IDispatch> Picture() const;  // an IPictureDisp, or null
  void SetPicture(const com::ComPtr<IDispatch>& picture) const;
  com::ComPtr<IDispatch> Mask() const;
  void SetMask(const com::ComPtr<IDispatch>& mask) const;
  // The face from the bitmap on the clipboard.
  void PasteFace() const;
};

// Edits, drop-down lists and combo boxes.
class CommandBarComboBox : public CommandBarControl {
 public:
  using CommandBarControl::CommandBarControl;

  std::string Text() const;
  void SetText(std::string_view text) const;
  void AddItem(std::string_view text, std::optional<int> index = std::nullopt) const;
  int ListCount() const;
  std::string List(int index) const;  // 1-based
};

}  // namespace qor::host::office
