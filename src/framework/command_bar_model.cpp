#include "framework/command_bar_model.h"

#include "com/boundary.h"
#include "framework/adx_error.h"
#include "framework/command_bar_installer.h"
#include "framework/command_bar_items.h"
#include "framework/module_site.h"
#include "framework/registry.h"
#include "host/office/command_bar.h"

namespace qor::framework {

namespace {

using host::office::CommandBar;

std::unique_ptr<TadxCommandBarControl> MakeItem(TadxControlType kind, TadxCommandBarControls& collection) {
  switch (kind) {
    case adxButton: return std::make_unique<TadxCommandBarButton>(collection);
    case adxEdit: return std::make_unique<TadxCommandBarEdit>(collection);
    case adxDropdown: return std::make_unique<TadxCommandBarDropDownList>(collection);
    case adxComboBox: return std::make_unique<TadxCommandBarComboBox>(collection);
    case adxPopup: return std::make_unique<TadxCommandBarPopup>(collection);
    case adxControl: return std::make_unique<TadxCommandBarControl>(collection);
    case adxAdvancedControl: return std::make_unique<TadxCommandBarAdvancedControl>(collection);
  }
  throw std::invalid_argument("unknown command-bar item kind");
}

// A host read of a bound bar; unbound, or after a failure reported to DoError, the stored value.
template <class T, class Read>
T BarRead(const TadxCustomCommandBar& bar, const T& stored, Read read) {
  if (!bar.DefaultInterface()) return stored;
  try {
    return read(CommandBar(bar.DefaultInterface()));
  } catch (...) {
    bar.Owner().DoError();
    return stored;
  }
}

// Stores the value; while bound, writes the host's only when it differs.
template <class T, class Read, class Write>
void BarWrite(TadxCustomCommandBar& bar, T& field, T value, Read read, Write write) {
  field = value;
  if (!bar.DefaultInterface()) return;
  bar.Owner().Guarded([&] {
    const CommandBar host(bar.DefaultInterface());
    if (read(host) != value) write(host, value);
  });
}

}  // namespace

int TMsoControls(TadxControlType kind) noexcept {
  switch (kind) {
    case adxButton: return 1;
    case adxEdit: return 2;
    case adxDropdown: return 3;
    case adxComboBox: return 4;
    case adxPopup: return 10;
    case adxAdvancedControl: return 1;
    case adxControl: break;
  }
  return 0;
}

TadxCommandBarControls::TadxCommandBarControls(TadxCustomCommandBar& bar, TadxCommandBarPopup* popup)
    : bar_(bar), popup_(popup) {}

TadxCommandBarControls::~TadxCommandBarControls() { Clear(); }

TadxCommandBarControl& TadxCommandBarControls::Add(TadxControlType kind) {
  if (kind == adxAdvancedControl) {
    if (popup_ != nullptr)
      throw AdxError("The TadxCommandBarAdvancedControl cannot be placed into the TadxCommandBarPopup control.",
                     kErrorAdvancedInPopup);
    bar_.ForceAdvancedControlLayout();
  }
  items_.push_back(MakeItem(kind, *this));
  return *items_.back();
}

// Last first, so that no item outlives one declared after it.
void TadxCommandBarControls::Clear() noexcept {
  while (!items_.empty()) items_.pop_back();
}

std::size_t TadxCommandBarControls::IndexOf(const TadxCommandBarControl& item) const noexcept {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == &item) return i;
  return items_.size();
}

TadxCustomCommandBar::TadxCustomCommandBar(ModuleSite* owner, const char* className)
    : FOwner(owner), FControls(*this, nullptr) {
  if (owner == nullptr)
    throw AdxError("The " + std::string(className) + " class cannot be contained in the nil class.",
                   kErrorWrongOwner);
  FSupportedApps = owner->SupportedApps();
  owner->Installer().AddCommandBar(*this);
}

TadxCustomCommandBar::~TadxCustomCommandBar() {
  FControls.Clear();
  FInterface.Reset();
  FOwner->Installer().RemoveCommandBar(*this);
}

void TadxCustomCommandBar::SetCommandBarName(const std::wstring& name) {
  if (name.empty()) throw AdxError("The CommandBarName property cannot be empty.", kErrorPropertyEmpty);
  FCommandBarName = name;
  if (FCommandBarNameLocal.empty()) FCommandBarNameLocal = name;
}

bool TadxCustomCommandBar::Enabled() const {
  return BarRead(*this, FEnabled, [](const CommandBar& host) { return host.Enabled(); });
}

void TadxCustomCommandBar::SetEnabled(bool value) {
  BarWrite(
      *this, FEnabled, value, [](const CommandBar& host) { return host.Enabled(); },
      [](const CommandBar& host, bool v) { host.SetEnabled(v); });
}

bool TadxCustomCommandBar::Visible() const {
  return BarRead(*this, FVisible, [](const CommandBar& host) { return host.Visible(); });
}

void TadxCustomCommandBar::SetVisible(bool value) {
  BarWrite(
      *this, FVisible, value, [](const CommandBar& host) { return host.Visible(); },
      [](const CommandBar& host, bool v) { host.SetVisible(v); });
}

TadxMsoBarProtection TadxCustomCommandBar::Protection() const {
  return BarRead(*this, FProtection, [](const CommandBar& host) {
    return static_cast<TadxMsoBarProtection>(FromHostCode(MsoProtectionArray, host.Protection()).value_or(0));
  });
}

void TadxCustomCommandBar::SetProtection(TadxMsoBarProtection value) {
  if (HasAdvancedControl() && value != adxMsoBarNoChangeDock)
    throw AdxError(
        "The command bar containing a TadxCommandBarAdvancedControl should\r\nhave the adxMsoBarNoChangeDock "
        "protection type.",
        kErrorAdvancedProtection);
  BarWrite(
      *this, FProtection, value,
      [](const CommandBar& host) { return FromHostCode(MsoProtectionArray, host.Protection()); },
      [](const CommandBar& host, TadxMsoBarProtection v) { host.SetProtection(MsoProtectionArray[v]); });
}

TadxMsoBarPosition TadxCustomCommandBar::Position() const {
  return BarRead(*this, FPosition, [this](const CommandBar& host) {
    const int code = host.Position();
    return code >= adxMsoBarLeft && code <= adxMsoBarMenuBar ? static_cast<TadxMsoBarPosition>(code) : FPosition;
  });
}

void TadxCustomCommandBar::SetPosition(TadxMsoBarPosition value) {
  if (HasAdvancedControl() && (value == adxMsoBarPopup || value == adxMsoBarMenuBar))
    throw AdxError(
        "The command bar containing a TadxCommandBarAdvancedControl cannot\r\nbe adxMsoBarPopup and "
        "adxMsoBarMenuBar.",
        kErrorAdvancedNotMenuBar);
  BarWrite(
      *this, FPosition, value, [](const CommandBar& host) { return static_cast<TadxMsoBarPosition>(host.Position()); },
      [](const CommandBar& host, TadxMsoBarPosition v) { host.SetPosition(v); });
}

int TadxCustomCommandBar::CommandBarLeft() const {
  return BarRead(*this, FLeftPosition, [](const CommandBar& host) { return host.Left(); });
}

void TadxCustomCommandBar::SetCommandBarLeft(int value) {
  BarWrite(
      *this, FLeftPosition, value, [](const CommandBar& host) { return host.Left(); },
      [](const CommandBar& host, int v) { host.SetLeft(v); });
}

int TadxCustomCommandBar::CommandBarTop() const {
  return BarRead(*this, FTopPosition, [](const CommandBar& host) { return host.Top(); });
}

void TadxCustomCommandBar::SetCommandBarTop(int value) {
  BarWrite(
      *this, FTopPosition, value, [](const CommandBar& host) { return host.Top(); },
      [](const CommandBar& host, int v) { host.SetTop(v); });
}

int TadxCustomCommandBar::RowIndex() const {
  return BarRead(*this, FRowIndex, [](const CommandBar& host) { return host.RowIndex(); });
}

void TadxCustomCommandBar::SetRowIndex(int value) {
  BarWrite(
      *this, FRowIndex, value, [](const CommandBar& host) { return host.RowIndex(); },
      [](const CommandBar& host, int v) { host.SetRowIndex(v); });
}

bool TadxCustomCommandBar::BuiltIn() const {
  return BarRead(*this, false, [](const CommandBar& host) { return host.BuiltIn(); });
}

void TadxCustomCommandBar::SetInterface(com::ComPtr<IDispatch> bar) noexcept { FInterface = std::move(bar); }

void TadxCustomCommandBar::SetProperties() {
  if (!FInterface) return;
  Registry counters(HKEY_CURRENT_USER);
  const bool open = counters.OpenKey(FOwner->GetRegistryKey() + L"\\CommandBars", true);
  const bool apply = FTemporary || !open || counters.ReadInteger(FCommandBarName) != FChanged ||
                     FOwner->HostType() == ohaAccess;
  if (!apply) return;
  SetEnabled(FEnabled);
  if (FEnabled) SetVisible(FVisible);
  SetProtection(FProtection);
  SetPosition(FPosition);
  if (FLeftPosition != -1) SetCommandBarLeft(FLeftPosition);
  if (FTopPosition != -1) SetCommandBarTop(FTopPosition);
  if (FRowIndex != -1) SetRowIndex(FRowIndex);
  if (!FTemporary && open) FOwner->Guarded([&] { counters.WriteInteger(FCommandBarName, FChanged); });
}

void TadxCustomCommandBar::Delete() {
  const com::ComPtr<IDispatch> bound = std::exchange(FInterface, nullptr);
  if (!bound) return;
  const CommandBar host(bound);
  if (!host.BuiltIn() && host.Controls().Count() == 0) host.Delete();
}

bool TadxCustomCommandBar::HasAdvancedControl() const noexcept {
  for (const auto& item : FControls)
    if (item->GetType() == adxAdvancedControl) return true;
  return false;
}

void TadxCustomCommandBar::ForceAdvancedControlLayout() noexcept {
  if (FPosition == adxMsoBarPopup || FPosition == adxMsoBarMenuBar) FPosition = adxMsoBarTop;
  FProtection = adxMsoBarNoChangeDock;
}

void UnbindControls(TadxCommandBarControls& controls) noexcept {
  for (const auto& item : controls) {
    com::PassingOver("UnbindControls", [&] {
      item->SetInterface(nullptr);
    });
    if (TadxCommandBarPopup* popup = item->AsPopup()) UnbindControls(popup->Controls());
  }
}

}  // namespace qor::framework
