#include "host/office/command_bar_control.h"

#include "com/com_error.h"
#include "host/office/command_bar.h"

namespace qor::host::office {
namespace {

com::Dispatch Checked(com::ComPtr<IDispatch> object) {
  if (!object) throw com::ComError(E_POINTER);
  return com::Dispatch(std::move(object));
}

}  // namespace

CommandBarControl::CommandBarControl(com::ComPtr<IDispatch> object) : dispatch_(Checked(std::move(object))) {}

std::string CommandBarControl::Tag() const { return Late().Get("Tag").ToUtf8(); }
void CommandBarControl::SetTag(std::string_view tag) const { Late().Put("Tag", tag); }
std::string CommandBarControl::Caption() const { return Late().Get("Caption").ToUtf8(); }
void CommandBarControl::SetCaption(std::string_view caption) const { Late().Put("Caption", caption); }
bool CommandBarControl::BeginGroup() const { return Late().Get("BeginGroup").ToBool(); }
void CommandBarControl::SetBeginGroup(bool beginGroup) const { Late().Put("BeginGroup", beginGroup); }
std::string CommandBarControl::DescriptionText() const { return Late().Get("DescriptionText").ToUtf8(); }
void CommandBarControl::SetDescriptionText(std::string_view text) const { Late().Put("DescriptionText", text); }
bool CommandBarControl::Enabled() const { return Late().Get("Enabled").ToBool(); }
void CommandBarControl::SetEnabled(bool enabled) const { Late().Put("Enabled", enabled); }
bool CommandBarControl::Visible() const { return Late().Get("Visible").ToBool(); }
void CommandBarControl::SetVisible(bool visible) const { Late().Put("Visible", visible); }
int CommandBarControl::Height() const { return Late().Get("Height").ToInt(); }
void CommandBarControl::SetHeight(int height) const { Late().Put("Height", height); }
int CommandBarControl::Width() const { return Late().Get("Width").ToInt(); }
void CommandBarControl::SetWidth(int width) const { Late().Put("Width", width); }
int CommandBarControl::HelpContextId() const { return Late().Get("HelpContextId").ToInt(); }
void CommandBarControl::SetHelpContextId(int id) const { Late().Put("HelpContextId", id); }
std::string CommandBarControl::HelpFile() const { return Late().Get("HelpFile").ToUtf8(); }
void CommandBarControl::SetHelpFile(std::string_view file) const { Late().Put("HelpFile", file); }
std::string CommandBarControl::Parameter() const { return Late().Get("Parameter").ToUtf8(); }
void CommandBarControl::SetParameter(std::string_view parameter) const { Late().Put("Parameter", parameter); }
int CommandBarControl::Priority() const { return Late().Get("Priority").ToInt(); }
void CommandBarControl::SetPriority(int priority) const { Late().Put("Priority", priority); }
std::string CommandBarControl::TooltipText() const { return Late().Get("TooltipText").ToUtf8(); }
void CommandBarControl::SetTooltipText(std::string_view text) const { Late().Put("TooltipText", text); }
std::string CommandBarControl::OnAction() const { return Late().Get("OnAction").ToUtf8(); }
void CommandBarControl::SetOnAction(std::string_view action) const { Late().Put("OnAction", action); }

int CommandBarControl::Id() const { return Late().Get("Id").ToInt(); }
int CommandBarControl::Index() const { return Late().Get("Index").ToInt(); }
ControlType CommandBarControl::Type() const { return static_cast<ControlType>(Late().Get("Type").ToInt()); }
CommandBar CommandBarControl::Parent() const { return CommandBar(RequiredObject(Late().Get("Parent"))); }

CommandBarControl CommandBarControl::Move(const std::optional<CommandBar>& bar, std::optional<int> before) const {
  const com::Variant target = bar ? com::Variant(bar->Object()) : com::VariantOptional();
  const com::Variant moved = Late().Call("Move", target, ArgOrMissing(before));
  // Office's Move returns the control; an implementation returning nothing still moved this one.
  if (const auto object = OptionalObject(moved)) return CommandBarControl(*object);
  return *this;
}

void CommandBarControl::Delete(std::optional<bool> temporary) const { Late().Call("Delete", ArgOrMissing(temporary)); }

int CommandBarButton::FaceId() const { return Late().Get("FaceId").ToInt(); }
void CommandBarButton::SetFaceId(int faceId) const { Late().Put("FaceId", faceId); }
std::string CommandBarButton::ShortcutText() const { return Late().Get("ShortcutText").ToUtf8(); }
void CommandBarButton::SetShortcutText(std::string_view text) const { Late().Put("ShortcutText", text); }
int CommandBarButton::State() const { return Late().Get("State").ToInt(); }
void CommandBarButton::SetState(int state) const { Late().Put("State", state); }
int CommandBarButton::Style() const { return Late().Get("Style").ToInt(); }
void CommandBarButton::SetStyle(int style) const { Late().Put("Style", style); }
int CommandBarButton::HyperlinkType() const { return Late().Get("HyperlinkType").ToInt(); }
void CommandBarButton::SetHyperlinkType(int type) const { Late().Put("HyperlinkType", type); }
com::ComPtr<IDispatch> CommandBarButton::Picture() const { return Late().Get("Picture").ToDispatch(); }
void CommandBarButton::SetPicture(const com::ComPtr<IDispatch>& picture) const { Late().Put("Picture", picture); }
com::ComPtr<IDispatch> CommandBarButton::Mask() const { return Late().Get("Mask").ToDispatch(); }
void CommandBarButton::SetMask(const com::ComPtr<IDispatch>& mask) const { Late().Put("Mask", mask); }
void CommandBarButton::PasteFace() const { Late().Call("PasteFace"); }

std::string CommandBarComboBox::Text() const { return Late().Get("Text").ToUtf8(); }
void CommandBarComboBox::SetText(std::string_view text) const { Late().Put("Text", text); }
void CommandBarComboBox::AddItem(std::string_view text, std::optional<int> index) const {
  Late().Call("AddItem", text, ArgOrMissing(index));
}
int CommandBarComboBox::ListCount() const { return Late().Get("ListCount").ToInt(); }
std::string CommandBarComboBox::List(int index) const { return Late().Get("List", index).ToUtf8(); }

}  // namespace qor::host::office
