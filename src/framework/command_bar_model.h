#pragma once

// The command-bar model: bars owned by an add-in module, each holding an ordered collection of
// items (buttons, popups, edits, combo boxes). While bound, a bar or item holds the matching host
// object of Office's CommandBars object model; the model keeps the wanted state, pushes it to the
// host and receives the host's events. Host failures go to the module's DoError.

#include <oaidl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "framework/adx_types.h"

namespace qor::framework {

class CommandBarInstaller;
class ModuleSite;
class TadxCommandBarControl;
class TadxCommandBarPopup;
class TadxCustomCommandBar;

inline constexpr long kErrorWrongOwner = 31112;           // "The %s class cannot be contained in the %s class."
inline constexpr long kErrorAdvancedNotMenuBar = 31114;   // bar position of an advanced control's bar
inline constexpr long kErrorAdvancedProtection = 31115;   // protection of an advanced control's bar
inline constexpr long kErrorAdvancedInPopup = 31116;      // an advanced control inside a popup
inline constexpr long kErrorMapPoint = 31110;             // "Cannot add a control to MS MapPoint."

// Item kinds, in the order of TadxCommandBarControls::Add's classes.
enum TadxControlType : int { adxButton, adxEdit, adxDropdown, adxComboBox, adxPopup, adxControl, adxAdvancedControl };
// The host's MsoControlType of a kind, used when searching or adding.
int TMsoControls(TadxControlType kind) noexcept;

enum TadxMsoBarProtection : int {
  adxMsoBarNoProtection,
  adxMsoBarNoCustomize,
  adxMsoBarNoResize,
  adxMsoBarNoMove,
  adxMsoBarNoChangeVisible,
  adxMsoBarNoChangeDock,
  adxMsoBarNoVerticalDock,
  adxMsoBarNoHorizontalDock,
};
inline constexpr std::array<int, 8> MsoProtectionArray = {0, 1, 2, 4, 8, 16, 32, 64};

enum TadxMsoBarPosition : int {
  adxMsoBarLeft,
  adxMsoBarTop,
  adxMsoBarRight,
  adxMsoBarBottom,
  adxMsoBarFloating,
  adxMsoBarPopup,
  adxMsoBarMenuBar,
};

enum TadxMsoButtonState : int { adxMsoButtonUp, adxMsoButtonDown, adxMsoButtonMixed };
inline constexpr std::array<int, 3> MsoButtonStateArray = {0, -1, 2};

enum TadxMsoButtonStyle : int {
  adxMsoButtonAutomatic,
  adxMsoButtonIcon,
  adxMsoButtonCaption,
  adxMsoButtonIconAndCaption,
  adxMsoButtonIconAndWrapCaption,
  adxMsoButtonIconAndCaptionBelow,
  adxMsoButtonWrapCaption,
  adxMsoButtonIconAndWrapCaptionBelow,
};
inline constexpr std::array<int, 8> MsoButtonStyleArray = {0, 1, 2, 3, 7, 11, 14, 15};

enum TadxMsoCommandBarButtonHyperlinkType : int {
  adxMsoCommandBarButtonHyperlinkNone,
  adxMsoCommandBarButtonHyperlinkOpen,
  adxMsoCommandBarButtonHyperlinkInsertPicture,
};

// Outlook item types of explorer and inspector bars; stored on every item, acted on by none here.
enum TadxOLItemTypeAction : int { adxOLActionNone, adxOLActionShow, adxOLActionEnable };
enum TadxOLItemType : int { adxOLMailItem = 0 };
enum TadxOLItemClass : int { adxOLMail = 0 };

// The host value of an enumeration through its table, and back: a host value not in the table
// gives nothing.
template <std::size_t N>
std::optional<int> FromHostCode(const std::array<int, N>& table, int code) noexcept {
  for (std::size_t i = 0; i < N; ++i)
    if (table[i] == code) return static_cast<int>(i);
  return std::nullopt;
}

// An ordered item collection of a bar or popup; owns its items.
class TadxCommandBarControls {
 public:
  // `popup` is null for a bar's own collection.
  TadxCommandBarControls(TadxCustomCommandBar& bar, TadxCommandBarPopup* popup);
  ~TadxCommandBarControls();
  TadxCommandBarControls(const TadxCommandBarControls&) = delete;
  TadxCommandBarControls& operator=(const TadxCommandBarControls&) = delete;

  // Creates and appends an item of that kind. An advanced control raises 31116 inside a popup;
  // on a bar it makes the bar dockable-only at the top.
  TadxCommandBarControl& Add(TadxControlType kind);
  void Clear() noexcept;

  std::size_t Count() const noexcept { return items_.size(); }
  TadxCommandBarControl& operator[](std::size_t index) const { return *items_.at(index); }
  auto begin() const noexcept { return items_.begin(); }
  auto end() const noexcept { return items_.end(); }
  std::size_t IndexOf(const TadxCommandBarControl& item) const noexcept;

  TadxCustomCommandBar& CommandBar() const noexcept { return bar_; }
  TadxCommandBarPopup* Popup() const noexcept { return popup_; }

 private:
  TadxCustomCommandBar& bar_;
  TadxCommandBarPopup* popup_;
  std::vector<std::unique_ptr<TadxCommandBarControl>> items_;
};

// The base of every bar. Constructed with its module, in whose bar list it stays while it lives.
class TadxCustomCommandBar {
 public:
  // Throws AdxError 31112 without a module; `className` names the bar in that error.
  explicit TadxCustomCommandBar(ModuleSite* owner, const char* className = "TadxCustomCommandBar");
  virtual ~TadxCustomCommandBar();
  TadxCustomCommandBar(const TadxCustomCommandBar&) = delete;
  TadxCustomCommandBar& operator=(const TadxCustomCommandBar&) = delete;

  virtual const char* ClassName() const noexcept { return "TadxCustomCommandBar"; }
  virtual bool IsContextMenu() const noexcept { return false; }
  virtual void SetSupportedApps(TadxHostAppSet apps) { FSupportedApps = apps; }

  ModuleSite& Owner() const noexcept { return *FOwner; }
  TadxCommandBarControls& Controls() noexcept { return FControls; }
  const TadxCommandBarControls& Controls() const noexcept { return FControls; }

  const std::wstring& CommandBarName() const noexcept { return FCommandBarName; }
  // Throws AdxError 31101 for an empty name; fills CommandBarNameLocal while that is empty.
  void SetCommandBarName(const std::wstring& name);
  const std::wstring& CommandBarNameLocal() const noexcept { return FCommandBarNameLocal; }
  void SetCommandBarNameLocal(const std::wstring& name) { FCommandBarNameLocal = name; }
  // Replaces the name the host bar is looked up by, leaving the local name as declared.
  void TranslateCommandBarName(const std::wstring& hostName) { FCommandBarName = hostName; }

  const std::wstring& Context() const noexcept { return FContext; }
  void SetContext(const std::wstring& context) { FContext = context; }
  bool Temporary() const noexcept { return FTemporary; }
  void SetTemporary(bool value) noexcept { FTemporary = value; }
  bool UseForRibbon() const noexcept { return FUseForRibbon; }
  void SetUseForRibbon(bool value) noexcept { FUseForRibbon = value; }
  TadxHostAppSet SupportedApps() const noexcept { return FSupportedApps; }
  std::uint32_t PropertyChanged() const noexcept { return FChanged; }
  void SetPropertyChanged(std::uint32_t value) noexcept { FChanged = value; }
  bool AdaptiveMenu() const noexcept { return FAdaptiveMenu; }
  void SetAdaptiveMenu(bool value) noexcept { FAdaptiveMenu = value; }
  int Height() const noexcept { return FHeight; }
  void SetHeight(int value) noexcept { FHeight = value; }
  int Width() const noexcept { return FWidth; }
  void SetWidth(int value) noexcept { FWidth = value; }

  // Host properties: the host's value while bound, else the stored one.
  bool Enabled() const;
  void SetEnabled(bool value);
  bool Visible() const;
  void SetVisible(bool value);
  TadxMsoBarProtection Protection() const;
  // An advanced control's bar accepts only adxMsoBarNoChangeDock (else AdxError 31115).
  void SetProtection(TadxMsoBarProtection value);
  TadxMsoBarPosition Position() const;
  // An advanced control's bar cannot be a popup or menu bar (AdxError 31114).
  void SetPosition(TadxMsoBarPosition value);
  int CommandBarLeft() const;
  void SetCommandBarLeft(int value);
  int CommandBarTop() const;
  void SetCommandBarTop(int value);
  int RowIndex() const;
  void SetRowIndex(int value);
  bool BuiltIn() const;

  // The bound host CommandBar, or null.
  const com::ComPtr<IDispatch>& DefaultInterface() const noexcept { return FInterface; }
  void SetInterface(com::ComPtr<IDispatch> bar) noexcept;

  // Pushes the bar's properties when temporary, or when the registry's change counter differs.
  void SetProperties();
  // Deletes the host bar when it is custom and empty; unbinds in every case.
  void Delete();
  // Binds the items again to the host's controls, creating what is missing.
  void ReconnectControls();
  // The user unloading the add-in: every item deleted from the host, last first.
  void Uninstall();

  bool HasAdvancedControl() const noexcept;

 protected:
  // Raised before the items are (re)created; context menus only.
  virtual void DoAddControls() {}
  friend class CommandBarInstaller;

  void ForceAdvancedControlLayout() noexcept;
  friend class TadxCommandBarControls;

  ModuleSite* FOwner;
  std::wstring FContext;
  bool FEnabled = true;
  bool FVisible = true;
  int FHeight = 0;
  int FLeftPosition = -1;
  std::wstring FCommandBarName;
  std::wstring FCommandBarNameLocal;
  TadxMsoBarPosition FPosition = adxMsoBarTop;
  int FRowIndex = -1;
  TadxMsoBarProtection FProtection = adxMsoBarNoProtection;
  int FTopPosition = -1;
  int FWidth = 0;
  bool FAdaptiveMenu = false;
  bool FTemporary = false;
  TadxCommandBarControls FControls;
  com::ComPtr<IDispatch> FInterface;
  std::uint32_t FChanged = 0;
  TadxHostAppSet FSupportedApps;
  bool FUseForRibbon = false;
};

// A toolbar.
class TadxCommandBar : public TadxCustomCommandBar {
 public:
  explicit TadxCommandBar(ModuleSite* owner) : TadxCustomCommandBar(owner, "TadxCommandBar") {}
  const char* ClassName() const noexcept override { return "TadxCommandBar"; }
};

// Unbinds every item of `controls` and, recursively, of their popups; errors are ignored.
void UnbindControls(TadxCommandBarControls& controls) noexcept;

}  // namespace qor::framework
