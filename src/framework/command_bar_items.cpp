#include "framework/command_bar_items.h"

#include <objbase.h>

#include "com/boundary.h"
#include "com/guid_text.h"
#include "com/utf.h"
#include "framework/adx_error.h"
#include "framework/command_bar_installer.h"
#include "framework/command_bar_search.h"
#include "framework/event_sink.h"
#include "framework/module_site.h"
#include "framework/registry.h"
#include "host/office/command_bar.h"
#include "host/office/office_ids.h"

namespace qor::framework {

namespace {

using host::office::CommandBar;
using host::office::CommandBarButton;
using host::office::CommandBarControl;

// A host read of a bound item: unbound, the stored value; after a failure reported to DoError,
// `fallback` (the stored value for numbers and flags, empty for texts).
template <class HostT, class T, class Read>
T ReadBound(const TadxCommandBarControl& item, const com::ComPtr<IDispatch>& bound, const T& stored,
            const T& fallback, Read read) {
  if (!bound) return stored;
  try {
    return read(HostT(bound));
  } catch (...) {
    item.Module().DoError();
    return fallback;
  }
}

// Stores the value; while bound, writes the host's when it differs. Whether the host changed.
template <class HostT, class T, class Read, class Write>
bool WriteBound(const TadxCommandBarControl& item, const com::ComPtr<IDispatch>& bound, T& field, T value, Read read,
                Write write) {
  field = std::move(value);
  if (!bound) return false;
  bool changed = false;
  item.Module().Guarded([&] {
    const HostT host(bound);
    if (read(host) == field) return;
    write(host, field);
    changed = true;
  });
  return changed;
}

template <class R>
using Getter = R (CommandBarControl::*)() const;
template <class A>
using Setter = void (CommandBarControl::*)(A) const;

std::wstring Text(const CommandBarControl& host, Getter<std::string> get) { return com::ToUtf16((host.*get)()); }

std::wstring ReadText(const TadxCommandBarControl& item, const std::wstring& stored, Getter<std::string> get) {
  return ReadBound<CommandBarControl>(item, item.DefaultInterface(), stored, std::wstring(),
                                      [get](const CommandBarControl& host) { return Text(host, get); });
}

void WriteText(const TadxCommandBarControl& item, std::wstring& field, const std::wstring& value,
               Getter<std::string> get, Setter<std::string_view> set) {
  WriteBound<CommandBarControl>(
      item, item.DefaultInterface(), field, value, [get](const CommandBarControl& host) { return Text(host, get); },
      [set](const CommandBarControl& host, const std::wstring& v) { (host.*set)(com::ToUtf8(v)); });
}

template <class T>
T ReadValue(const TadxCommandBarControl& item, const T& stored, Getter<T> get) {
  return ReadBound<CommandBarControl>(item, item.DefaultInterface(), stored, stored,
                                      [get](const CommandBarControl& host) { return (host.*get)(); });
}

template <class T>
bool WriteValue(const TadxCommandBarControl& item, T& field, T value, Getter<T> get, Setter<T> set) {
  return WriteBound<CommandBarControl>(
      item, item.DefaultInterface(), field, value, [get](const CommandBarControl& host) { return (host.*get)(); },
      [set](const CommandBarControl& host, T v) { (host.*set)(v); });
}

}  // namespace

std::wstring NewOfficeTag() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) throw com::ComError(E_FAIL, "A tag for a command-bar control cannot be made.");
  return com::GuidText(guid);
}

TadxCommandBarControl::TadxCommandBarControl(TadxCommandBarControls& collection)
    : collection_(collection), FOfficeTag(NewOfficeTag()), FTemporary(collection.CommandBar().Temporary()) {}

TadxCommandBarControl::~TadxCommandBarControl() = default;

ModuleSite& TadxCommandBarControl::Module() const noexcept { return collection_.CommandBar().Owner(); }

TadxCommandBarButton* TadxCommandBarControl::AsButton() noexcept { return dynamic_cast<TadxCommandBarButton*>(this); }
TadxCommandBarPopup* TadxCommandBarControl::AsPopup() noexcept { return dynamic_cast<TadxCommandBarPopup*>(this); }
TadxCustomCommandBarComboBox* TadxCommandBarControl::AsComboBox() noexcept {
  return dynamic_cast<TadxCustomCommandBarComboBox*>(this);
}

void TadxCommandBarControl::SetOfficeTag(const std::wstring& tag) { FOfficeTag = tag; }

void TadxCommandBarControl::SetInterface(com::ComPtr<IDispatch> control) {
  FInterface = QueryDispatch(control, __uuidof(host::office::ICommandBarControl));
}

bool TadxCommandBarControl::BeginGroup() const { return ReadValue(*this, FBeginGroup, &CommandBarControl::BeginGroup); }
void TadxCommandBarControl::SetBeginGroup(bool value) {
  WriteValue(*this, FBeginGroup, value, &CommandBarControl::BeginGroup, &CommandBarControl::SetBeginGroup);
}
bool TadxCommandBarControl::Visible() const { return ReadValue(*this, FVisible, &CommandBarControl::Visible); }
void TadxCommandBarControl::SetVisible(bool value) {
  WriteValue(*this, FVisible, value, &CommandBarControl::Visible, &CommandBarControl::SetVisible);
}
bool TadxCommandBarControl::Enabled() const { return ReadValue(*this, FEnabled, &CommandBarControl::Enabled); }

void TadxCommandBarControl::SetEnabled(bool value) {
  const bool changed = WriteValue(*this, FEnabled, value, &CommandBarControl::Enabled, &CommandBarControl::SetEnabled);
  if (!changed || Module().HostType() != ohaOutlook) return;
  Module().Guarded([&] {
    const CommandBarControl host(FInterface);
    host.SetWidth(host.Width() + 1);
    host.SetWidth(host.Width() - 1);
  });
}

std::wstring TadxCommandBarControl::Caption() const { return ReadText(*this, FCaption, &CommandBarControl::Caption); }
void TadxCommandBarControl::SetCaption(const std::wstring& value) {
  WriteText(*this, FCaption, value, &CommandBarControl::Caption, &CommandBarControl::SetCaption);
}
std::wstring TadxCommandBarControl::DescriptionText() const {
  return ReadText(*this, FDescriptionText, &CommandBarControl::DescriptionText);
}
void TadxCommandBarControl::SetDescriptionText(const std::wstring& value) {
  WriteText(*this, FDescriptionText, value, &CommandBarControl::DescriptionText,
            &CommandBarControl::SetDescriptionText);
}
int TadxCommandBarControl::Height() const { return ReadValue(*this, FHeight, &CommandBarControl::Height); }
void TadxCommandBarControl::SetHeight(int value) {
  WriteValue(*this, FHeight, value, &CommandBarControl::Height, &CommandBarControl::SetHeight);
}
int TadxCommandBarControl::HelpContextID() const {
  return ReadValue(*this, FHelpContextID, &CommandBarControl::HelpContextId);
}
void TadxCommandBarControl::SetHelpContextID(int value) {
  WriteValue(*this, FHelpContextID, value, &CommandBarControl::HelpContextId, &CommandBarControl::SetHelpContextId);
}
std::wstring TadxCommandBarControl::HelpFile() const {
  return ReadText(*this, FHelpFile, &CommandBarControl::HelpFile);
}
void TadxCommandBarControl::SetHelpFile(const std::wstring& value) {
  WriteText(*this, FHelpFile, value, &CommandBarControl::HelpFile, &CommandBarControl::SetHelpFile);
}
std::wstring TadxCommandBarControl::Parameter() const {
  return ReadText(*this, FParameter, &CommandBarControl::Parameter);
}
void TadxCommandBarControl::SetParameter(const std::wstring& value) {
  WriteText(*this, FParameter, value, &CommandBarControl::Parameter, &CommandBarControl::SetParameter);
}
int TadxCommandBarControl::Priority() const { return ReadValue(*this, FPriority, &CommandBarControl::Priority); }
void TadxCommandBarControl::SetPriority(int value) {
  WriteValue(*this, FPriority, value, &CommandBarControl::Priority, &CommandBarControl::SetPriority);
}
std::wstring TadxCommandBarControl::TooltipText() const {
  return ReadText(*this, FTooltipText, &CommandBarControl::TooltipText);
}
void TadxCommandBarControl::SetTooltipText(const std::wstring& value) {
  WriteText(*this, FTooltipText, value, &CommandBarControl::TooltipText, &CommandBarControl::SetTooltipText);
}
int TadxCommandBarControl::Width() const { return ReadValue(*this, FWidth, &CommandBarControl::Width); }
void TadxCommandBarControl::SetWidth(int value) {
  WriteValue(*this, FWidth, value, &CommandBarControl::Width, &CommandBarControl::SetWidth);
}

int TadxCommandBarControl::GetOfficeIndex() const {
  return ReadBound<CommandBarControl>(*this, FInterface, 1, 1,
                                      [](const CommandBarControl& host) { return host.Index(); });
}

// Temporary items are pushed every time and never touch the registry; persistent ones only when
// their change counter differs from the one stored at their last push (Access: always).
bool TadxCommandBarControl::ShouldApply() const {
  if (FTemporary || Module().HostType() == ohaAccess) return true;
  Registry counters(HKEY_CURRENT_USER);
  if (!counters.OpenKey(Module().GetRegistryKey() + L"\\Controls", true)) return true;
  return counters.ReadInteger(FOfficeTag) != FChanged;
}

void TadxCommandBarControl::StoreChangeCounter() const {
  Module().Guarded([&] {
    Registry counters(HKEY_CURRENT_USER);
    if (counters.OpenKey(Module().GetRegistryKey() + L"\\Controls", true)) counters.WriteInteger(FOfficeTag, FChanged);
  });
}

// A persistent control the user may have moved goes back to its declared place.
void TadxCommandBarControl::CorrectPosition() {
  Module().Guarded([&] {
    const CommandBarControl host(FInterface);
    const int hostIndex = host.Index();
    if (FBefore != 0 && FBefore != hostIndex) host.Move(std::nullopt, FBefore);
    if (FBefore == 0 && FBeforeID == 0 && FAfterID == 0 && !CommandBar().BuiltIn()) {
      const int wanted = static_cast<int>(Index()) + 1;
      if (wanted != hostIndex) host.Move(std::nullopt, wanted + (hostIndex < wanted ? 1 : 0));
    }
    if (FBeforeID == 0 && FAfterID == 0) return;
    const com::ComPtr<IDispatch> bar =
        ParentPopup() != nullptr ? host::office::CommandBarPopup(ParentPopup()->PopupInterface()).CommandBar().Object()
                                 : CommandBar().DefaultInterface();
    const com::ComPtr<IDispatch> reference = FindControlById(bar, adxControl, FBeforeID != 0 ? FBeforeID : FAfterID);
    if (!reference) return;
    const int referenceIndex = CommandBarControl(reference).Index();
    const int target = FBeforeID != 0 ? referenceIndex : referenceIndex + 1;
    if (host.Index() != (FBeforeID != 0 ? referenceIndex - 1 : referenceIndex + 1)) host.Move(std::nullopt, target);
  });
}

bool TadxCommandBarControl::SetProperties() {
  const bool apply = ShouldApply();
  if (!apply || !FInterface) return apply;
  if (!FTemporary && Module().StartMode() != smFirstStart) CorrectPosition();
  SetBeginGroup(FBeginGroup);
  SetCaption(FCaption);
  SetDescriptionText(FDescriptionText);
  SetEnabled(FEnabled);
  if (FHeight != 0) SetHeight(FHeight);
  SetHelpContextID(FHelpContextID);
  SetHelpFile(FHelpFile);
  SetParameter(FParameter);
  SetPriority(FPriority);
  std::wstring tag = FOfficeTag;
  WriteText(*this, tag, FOfficeTag, &CommandBarControl::Tag, &CommandBarControl::SetTag);
  SetTooltipText(FTooltipText);
  SetVisible(FVisible);
  if (FWidth != 0) SetWidth(FWidth);
  return apply;
}

void TadxCommandBarControl::Delete(bool temporary) {
  if (!FInterface) return;
  const com::ComPtr<IDispatch> bound = FInterface;
  try {
    CommandBarControl(bound).Delete(temporary);
  } catch (...) {
    SetInterface(nullptr);
    throw;
  }
  SetInterface(nullptr);
}

void TadxSinkOwner::ReplaceSink(ModuleSite& module, const com::ComPtr<IDispatch>& control,
                                TadxCommandBarControl* served, TadxBuiltInControl* builtIn) {
  DropSink();
  if (!control) return;
  FEventSink = served != nullptr ? TadxEventSink::Create(module, *served) : TadxEventSink::Create(module, *builtIn);
}

void TadxSinkOwner::DropSink() noexcept {
  if (const com::ComPtr<TadxEventSink> sink = std::move(FEventSink)) sink->Disconnect();
}

TadxSinkOwner::~TadxSinkOwner() { DropSink(); }

TadxCommandBarButton::~TadxCommandBarButton() { DropSink(); }

void TadxCommandBarButton::SetInterface(com::ComPtr<IDispatch> control) {
  TadxCommandBarControl::SetInterface(control);
  FButton = QueryDispatch(control, __uuidof(host::office::ICommandBarButton));
  ReplaceSink(Module(), FButton, this, nullptr);
}

int TadxCommandBarButton::FaceID() const {
  return ReadBound<CommandBarButton>(*this, FButton, FFaceID, FFaceID,
                                     [](const CommandBarButton& host) { return host.FaceId(); });
}

void TadxCommandBarButton::SetFaceID(int value) {
  WriteBound<CommandBarButton>(
      *this, FButton, FFaceID, value, [](const CommandBarButton& host) { return host.FaceId(); },
      [](const CommandBarButton& host, int v) { host.SetFaceId(v); });
}

// Office keeps no shortcut text on some controls: the declared one is the answer then.
std::wstring TadxCommandBarButton::ShortcutText() const {
  const std::wstring host = ReadBound<CommandBarButton>(
      *this, FButton, FShortcutText, std::wstring(),
      [](const CommandBarButton& button) { return com::ToUtf16(button.ShortcutText()); });
  return host.empty() ? FShortcutText : host;
}

void TadxCommandBarButton::SetShortcutText(const std::wstring& value) {
  FShortcutText = value;
  if (!FButton) return;
  // Office refuses shortcut text on controls that show none; nothing to show the user.
  com::PassingOver("TadxCommandBarButton.SetShortcutText",
                   [&] { CommandBarButton(FButton).SetShortcutText(com::ToUtf8(value)); });
}

TadxMsoButtonState TadxCommandBarButton::State() const {
  return ReadBound<CommandBarButton>(*this, FButton, FState, FState, [this](const CommandBarButton& host) {
    const auto known = FromHostCode(MsoButtonStateArray, host.State());
    return known ? static_cast<TadxMsoButtonState>(*known) : FState;
  });
}

void TadxCommandBarButton::SetState(TadxMsoButtonState value) {
  WriteBound<CommandBarButton>(
      *this, FButton, FState, value,
      [](const CommandBarButton& host) { return FromHostCode(MsoButtonStateArray, host.State()); },
      [](const CommandBarButton& host, TadxMsoButtonState v) { host.SetState(MsoButtonStateArray[v]); });
}

TadxMsoButtonStyle TadxCommandBarButton::Style() const {
  return ReadBound<CommandBarButton>(*this, FButton, FStyle, FStyle, [this](const CommandBarButton& host) {
    const auto known = FromHostCode(MsoButtonStyleArray, host.Style());
    return known ? static_cast<TadxMsoButtonStyle>(*known) : FStyle;
  });
}

void TadxCommandBarButton::SetStyle(TadxMsoButtonStyle value) {
  WriteBound<CommandBarButton>(
      *this, FButton, FStyle, value,
      [](const CommandBarButton& host) { return FromHostCode(MsoButtonStyleArray, host.Style()); },
      [](const CommandBarButton& host, TadxMsoButtonStyle v) { host.SetStyle(MsoButtonStyleArray[v]); });
}

bool TadxCommandBarButton::SetProperties() {
  const bool apply = TadxCommandBarControl::SetProperties();
  if (!FButton || !apply) return apply;
  if (FFaceID != 0) SetFaceID(FFaceID);
  SetShortcutText(FShortcutText);
  SetState(FState);
  SetStyle(FStyle);
  Module().Guarded([&] {
    const int type = CommandBarButton(FButton).HyperlinkType();
    if (type >= adxMsoCommandBarButtonHyperlinkNone && type <= adxMsoCommandBarButtonHyperlinkInsertPicture)
      FHyperlinkType = static_cast<TadxMsoCommandBarButtonHyperlinkType>(type);
  });
  if (!FTemporary) StoreChangeCounter();
  return apply;
}

// A click that arrives while this button's handler still runs (a modal window) is dropped.
void TadxCommandBarButton::DoAction() {
  if (FButtonInUse) return;
  FButtonInUse = true;
  struct Release {
    bool& flag;
    ~Release() { flag = false; }
  } release{FButtonInUse};
  if (const auto handler = OnClick) handler(*this);
}

TadxCommandBarPopup::TadxCommandBarPopup(TadxCommandBarControls& collection)
    : TadxCommandBarControl(collection), FControls(collection.CommandBar(), this) {}

TadxCommandBarPopup::~TadxCommandBarPopup() { FControls.Clear(); }

void TadxCommandBarPopup::SetInterface(com::ComPtr<IDispatch> control) {
  TadxCommandBarControl::SetInterface(control);
  FPopup = QueryDispatch(control, __uuidof(host::office::ICommandBarPopup));
}

bool TadxCommandBarPopup::SetProperties() {
  const bool apply = TadxCommandBarControl::SetProperties();
  if (FInterface && apply && !FTemporary) StoreChangeCounter();
  return apply;
}

void TadxCommandBarPopup::Delete(bool temporary) {
  ModuleSite& module = Module();
  for (auto child = FControls.end(); child != FControls.begin();) {
    TadxCommandBarControl& item = **--child;
    com::ComPtr<IDispatch> found = FindControlByTag(CommandBar().DefaultInterface(), item.GetType(), item.OfficeTag());
    if (!found) found = FindControlByTag(module.Installer(), item.GetType(), item.OfficeTag());
    item.SetInterface(found);
    item.Delete(temporary);
  }
  if (FInterface) {
    const CommandBarControl host(FInterface);
    try {
      if (host.Id() == 1 && host::office::CommandBarPopup(FInterface).Controls().Count() == 0) host.Delete(temporary);
    } catch (...) {
      SetInterface(nullptr);
      throw;
    }
  }
  SetInterface(nullptr);
}

TadxCustomCommandBarComboBox::~TadxCustomCommandBarComboBox() { DropSink(); }

void TadxCustomCommandBarComboBox::SetInterface(com::ComPtr<IDispatch> control) {
  TadxCommandBarControl::SetInterface(control);
  FComboBox = QueryDispatch(control, __uuidof(host::office::ICommandBarComboBox));
  ReplaceSink(Module(), FComboBox, this, nullptr);
}

void TadxCustomCommandBarComboBox::DoAction() {
  if (const auto handler = OnChange) handler(*this);
}

TadxBuiltInControl::TadxBuiltInControl(ModuleSite* owner) : FOwner(owner) {
  if (owner == nullptr)
    throw AdxError("The TadxBuiltInControl class cannot be contained in the nil class.", kErrorWrongOwner);
  FOfficeTag = NewOfficeTag();
  owner->Installer().AddBuiltInControl(*this);
}

TadxBuiltInControl::~TadxBuiltInControl() {
  DropSink();
  FOwner->Installer().RemoveBuiltInControl(*this);
}

void TadxBuiltInControl::SetInterface(com::ComPtr<IDispatch> control) {
  FInterface = QueryDispatch(control, __uuidof(host::office::ICommandBarControl));
  ReplaceSink(*FOwner, FInterface, nullptr, this);
}

void TadxBuiltInControl::DoAction(bool& cancelDefault) {
  if (const auto handler = OnAction) handler(*this);
  cancelDefault = DisableStandardAction;
  if (const auto handler = OnActionEx) handler(*this, cancelDefault);
}

}  // namespace qor::framework
