#pragma once

// The items of a command bar: the base control, buttons, popups, the combo kinds, the advanced
// control, and the component that intercepts a host built-in control. An item bound to a host
// control pushes its properties there; a button or combo kind bound to one owns the sink that
// hears its Click or Change.

#include <oaidl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "framework/command_bar_model.h"
#include "framework/event_sink.h"

namespace qor::framework {

class TadxBuiltInControl;
class TadxCommandBarButton;
class TadxCommandBarPopup;
class TadxCustomCommandBarComboBox;

class TadxCommandBarControl {
 public:
  using NotifyEvent = std::function<void(TadxCommandBarControl& sender)>;

  explicit TadxCommandBarControl(TadxCommandBarControls& collection);
  virtual ~TadxCommandBarControl();
  TadxCommandBarControl(const TadxCommandBarControl&) = delete;
  TadxCommandBarControl& operator=(const TadxCommandBarControl&) = delete;

  // Binds to a host control, or unbinds with null.
  virtual void SetInterface(com::ComPtr<IDispatch> control);
  virtual TadxControlType GetType() const noexcept { return adxControl; }
  // Pushes every property when due; returns whether it did.
  virtual bool SetProperties();
  virtual void DoAction() {}
  // Deletes the host control and unbinds; a host failure still unbinds and reaches the caller.
  virtual void Delete(bool temporary);

  TadxCommandBarButton* AsButton() noexcept;
  TadxCommandBarPopup* AsPopup() noexcept;
  TadxCustomCommandBarComboBox* AsComboBox() noexcept;

  ModuleSite& Module() const noexcept;
  // The nearest owning bar, and the popup whose collection holds this item (null on a bar).
  TadxCustomCommandBar& CommandBar() const noexcept { return collection_.CommandBar(); }
  TadxCommandBarPopup* ParentPopup() const noexcept { return collection_.Popup(); }
  // 0-based position in the owning collection.
  std::size_t Index() const noexcept { return collection_.IndexOf(*this); }

  // The bound host CommandBarControl, or null.
  const com::ComPtr<IDispatch>& DefaultInterface() const noexcept { return FInterface; }

  // Stored only.
  int Tag = 0;
  bool Temporary() const noexcept { return FTemporary; }
  void SetTemporary(bool value) noexcept { FTemporary = value; }
  int Before() const noexcept { return FBefore; }
  void SetBefore(int value) noexcept { FBefore = value; }
  int BeforeID() const noexcept { return FBeforeID; }
  void SetBeforeID(int value) noexcept { FBeforeID = value; }
  int AfterID() const noexcept { return FAfterID; }
  void SetAfterID(int value) noexcept { FAfterID = value; }
  int OfficeID() const noexcept { return FOfficeID; }
  void SetOfficeID(int value) noexcept { FOfficeID = value; }
  const std::wstring& OfficeTag() const noexcept { return FOfficeTag; }
  void SetOfficeTag(const std::wstring& tag);
  std::uint32_t PropertyChanged() const noexcept { return FChanged; }
  void SetPropertyChanged(std::uint32_t value) noexcept { FChanged = value; }
  TadxOLItemTypeAction olItemTypeAction = adxOLActionNone;
  std::vector<TadxOLItemType> olExplorerItemTypes{adxOLMailItem};
  std::vector<TadxOLItemClass> olInspectorItemTypes{adxOLMail};

  // Host properties: the host's value while bound, else the stored one.
  bool BeginGroup() const;
  void SetBeginGroup(bool value);
  bool Visible() const;
  void SetVisible(bool value);
  bool Enabled() const;
  // In Outlook a changed value is followed by a width nudge, so that Outlook repaints the control.
  void SetEnabled(bool value);
  std::wstring Caption() const;
  void SetCaption(const std::wstring& value);
  std::wstring DescriptionText() const;
  void SetDescriptionText(const std::wstring& value);
  int Height() const;
  void SetHeight(int value);
  int HelpContextID() const;
  void SetHelpContextID(int value);
  std::wstring HelpFile() const;
  void SetHelpFile(const std::wstring& value);
  std::wstring Parameter() const;
  void SetParameter(const std::wstring& value);
  int Priority() const;
  void SetPriority(int value);
  std::wstring TooltipText() const;
  void SetTooltipText(const std::wstring& value);
  int Width() const;
  void SetWidth(int value);
  // The host's 1-based Index; 1 while unbound.
  int GetOfficeIndex() const;

 protected:
  // The "apply" decision of SetProperties, and the counter written after a persistent push.
  bool ShouldApply() const;
  void StoreChangeCounter() const;
  void CorrectPosition();

  TadxCommandBarControls& collection_;
  std::uint32_t FChanged = 0;
  com::ComPtr<IDispatch> FInterface;
  bool FBeginGroup = false;
  bool FVisible = true;
  bool FEnabled = true;
  std::wstring FCaption;
  std::wstring FDescriptionText;
  int FHeight = 0;
  int FHelpContextID = 0;
  std::wstring FHelpFile;
  std::wstring FParameter;
  int FPriority = 0;
  std::wstring FOfficeTag;
  std::wstring FTooltipText;
  int FWidth = 0;
  bool FTemporary;
  int FAfterID = 0;
  int FBefore = 0;
  int FBeforeID = 0;
  int FOfficeID = 1;
};

// Shared by buttons and the combo kinds: the sink that hears the bound control's event.
class TadxSinkOwner {
 public:
  TadxEventSink* EventSink() const noexcept { return FEventSink.Get(); }

 protected:
  // Disconnects the current sink and, when `control` is not null, connects a new one to it.
  void ReplaceSink(ModuleSite& module, const com::ComPtr<IDispatch>& control, TadxCommandBarControl* served,
                   TadxBuiltInControl* builtIn);
  void DropSink() noexcept;
  ~TadxSinkOwner();

 private:
  com::ComPtr<TadxEventSink> FEventSink;
};

class TadxCommandBarButton : public TadxCommandBarControl, public TadxSinkOwner {
 public:
  using TadxCommandBarControl::TadxCommandBarControl;
  ~TadxCommandBarButton() override;

  void SetInterface(com::ComPtr<IDispatch> control) override;
  TadxControlType GetType() const noexcept override { return adxButton; }
  bool SetProperties() override;
  // Raises OnClick, unless a click of this button is still being handled.
  void DoAction() override;

  NotifyEvent OnClick;
  bool DisableStandardAction = false;
  bool BuiltInFace = true;

  // The bound host _CommandBarButton, or null.
  const com::ComPtr<IDispatch>& ButtonInterface() const noexcept { return FButton; }

  int FaceID() const;
  void SetFaceID(int value);
  std::wstring ShortcutText() const;
  void SetShortcutText(const std::wstring& value);
  TadxMsoButtonState State() const;
  void SetState(TadxMsoButtonState value);
  TadxMsoButtonStyle Style() const;
  void SetStyle(TadxMsoButtonStyle value);
  TadxMsoCommandBarButtonHyperlinkType HyperlinkType() const noexcept { return FHyperlinkType; }

 private:
  int FFaceID = 0;
  std::wstring FShortcutText;
  TadxMsoButtonState FState = adxMsoButtonUp;
  TadxMsoButtonStyle FStyle = adxMsoButtonAutomatic;
  TadxMsoCommandBarButtonHyperlinkType FHyperlinkType = adxMsoCommandBarButtonHyperlinkNone;
  com::ComPtr<IDispatch> FButton;
  bool FButtonInUse = false;
};

class TadxCommandBarPopup : public TadxCommandBarControl {
 public:
  explicit TadxCommandBarPopup(TadxCommandBarControls& collection);
  ~TadxCommandBarPopup() override;

  void SetInterface(com::ComPtr<IDispatch> control) override;
  TadxControlType GetType() const noexcept override { return adxPopup; }
  bool SetProperties() override;
  // Deletes its custom children first, then itself when it is custom and then empty.
  void Delete(bool temporary) override;
  // Binds the children again to the host's controls, creating what is missing.
  void ReconnectControls();

  TadxCommandBarControls& Controls() noexcept { return FControls; }
  const TadxCommandBarControls& Controls() const noexcept { return FControls; }
  // The bound host CommandBarPopup, or null.
  const com::ComPtr<IDispatch>& PopupInterface() const noexcept { return FPopup; }

 private:
  TadxCommandBarControls FControls;
  com::ComPtr<IDispatch> FPopup;
};

// The base of edits, drop-down lists and combo boxes.
class TadxCustomCommandBarComboBox : public TadxCommandBarControl, public TadxSinkOwner {
 public:
  using TadxCommandBarControl::TadxCommandBarControl;
  ~TadxCustomCommandBarComboBox() override;

  void SetInterface(com::ComPtr<IDispatch> control) override;
  // Raises OnChange.
  void DoAction() override;

  NotifyEvent OnChange;
  std::vector<std::wstring> Items;
  int DropdownLines = 0;
  int DropdownWidth = 0;
  int ListHeaderCount = -1;
  int ListIndex = 0;
  std::wstring Text;

  // The bound host _CommandBarComboBox, or null.
  const com::ComPtr<IDispatch>& ComboBoxInterface() const noexcept { return FComboBox; }

 private:
  com::ComPtr<IDispatch> FComboBox;
};

class TadxCommandBarEdit final : public TadxCustomCommandBarComboBox {
 public:
  using TadxCustomCommandBarComboBox::TadxCustomCommandBarComboBox;
  TadxControlType GetType() const noexcept override { return adxEdit; }
};

class TadxCommandBarDropDownList final : public TadxCustomCommandBarComboBox {
 public:
  using TadxCustomCommandBarComboBox::TadxCustomCommandBarComboBox;
  TadxControlType GetType() const noexcept override { return adxDropdown; }
};

class TadxCommandBarComboBox final : public TadxCustomCommandBarComboBox {
 public:
  using TadxCustomCommandBarComboBox::TadxCustomCommandBarComboBox;
  TadxControlType GetType() const noexcept override { return adxComboBox; }
};

// Hosts a window control through a per-host adapter; no adapter is registered, so it stays empty.
class TadxCommandBarAdvancedControl final : public TadxCommandBarControl {
 public:
  using TadxCommandBarControl::TadxCommandBarControl;
  TadxControlType GetType() const noexcept override { return adxAdvancedControl; }
};

// Intercepts the clicks of one host built-in control (by its BuiltInID), optionally only on one bar.
class TadxBuiltInControl : public TadxSinkOwner {
 public:
  using ActionEvent = std::function<void(TadxBuiltInControl& sender)>;
  using ActionExEvent = std::function<void(TadxBuiltInControl& sender, bool& cancelDefault)>;

  // Throws AdxError 31112 without a module.
  explicit TadxBuiltInControl(ModuleSite* owner);
  ~TadxBuiltInControl();
  TadxBuiltInControl(const TadxBuiltInControl&) = delete;
  TadxBuiltInControl& operator=(const TadxBuiltInControl&) = delete;

  void SetInterface(com::ComPtr<IDispatch> control);
  // OnAction, then CancelDefault from DisableStandardAction, then OnActionEx.
  void DoAction(bool& cancelDefault);

  ModuleSite& Owner() const noexcept { return *FOwner; }
  const com::ComPtr<IDispatch>& DefaultInterface() const noexcept { return FInterface; }
  const std::wstring& OfficeTag() const noexcept { return FOfficeTag; }

  int BuiltInID = 1;
  TadxCustomCommandBar* CommandBar = nullptr;
  bool DisableStandardAction = false;
  ActionEvent OnAction;
  ActionExEvent OnActionEx;
  // The host control of the click being handled.
  com::ComPtr<IDispatch> ControlInvoked;

 private:
  ModuleSite* FOwner;
  std::wstring FOfficeTag;
  com::ComPtr<IDispatch> FInterface;
};

// A new GUID in registry form, braces included.
std::wstring NewOfficeTag();

}  // namespace qor::framework
