#pragma once

// CommandBarInstaller: puts a module's command bars and items into the host and keeps them bound.
// It finds the host's bars and controls, creates what is missing at the declared place, binds
// every item to its host control, rebinds when a window or a context menu hands out new objects,
// and removes what the add-in put there when the user unloads it. It owns the module's lists of
// bars and built-in-control components and the host CommandBars collection it works on.

#include <oaidl.h>

#include <string>
#include <vector>

#include "com/com_ptr.h"

namespace qor::framework {

class ModuleSite;
class TadxBuiltInControl;
class TadxCommandBarControl;
class TadxCommandBarPopup;
class TadxCustomCommandBar;

class CommandBarInstaller {
 public:
  explicit CommandBarInstaller(ModuleSite& site) noexcept : site_(site) {}
  CommandBarInstaller(const CommandBarInstaller&) = delete;
  CommandBarInstaller& operator=(const CommandBarInstaller&) = delete;

  // The module's bars in creation order and its built-in-control components; each enters on
  // construction and leaves on destruction.
  const std::vector<TadxCustomCommandBar*>& CommandBarList() const noexcept { return commandBarList_; }
  const std::vector<TadxBuiltInControl*>& BuiltInControls() const noexcept { return builtInControls_; }
  void AddCommandBar(TadxCustomCommandBar& bar) { commandBarList_.push_back(&bar); }
  void RemoveCommandBar(TadxCustomCommandBar& bar) noexcept { std::erase(commandBarList_, &bar); }
  void AddBuiltInControl(TadxBuiltInControl& control) { builtInControls_.push_back(&control); }
  void RemoveBuiltInControl(TadxBuiltInControl& control) noexcept { std::erase(builtInControls_, &control); }

  // The host's CommandBars the installer works on: the active window's in Outlook.
  const com::ComPtr<IDispatch>& CommandBars() const noexcept { return commandBars_; }
  void SetCommandBars(com::ComPtr<IDispatch> bars) noexcept { commandBars_ = std::move(bars); }
  // Find a bar by name in one step instead of comparing every bar's names.
  bool FastCommandBarSearch() const noexcept { return fastCommandBarSearch_; }
  void SetFastCommandBarSearch(bool value) noexcept { fastCommandBarSearch_ = value; }

  // Searches never throw: nothing is null.
  com::ComPtr<IDispatch> GetAppCommandBars();
  // CommandBars(), fetched first while it is empty.
  const com::ComPtr<IDispatch>& AppCommandBars();
  // By Name or NameLocal, ASCII letter case ignored.
  com::ComPtr<IDispatch> FindCommandBar(const std::wstring& name);

  // Every bar at start-up; context menus are only translated for Outlook 2002 and 2003.
  void Install();
  // Throws AdxError 31110 in MapPoint, 31102 for an Outlook bar name holding an apostrophe.
  void InternalAddCmdBar(TadxCustomCommandBar& bar);
  // Finds or creates the item's host control on `bar` (or inside `popup`), binds it and pushes
  // its properties; host errors go to DoError.
  void InternalAddControl(TadxCommandBarControl& item, TadxCustomCommandBar& bar, TadxCommandBarPopup* popup);
  void InternalAddBuiltInControl(TadxBuiltInControl& control);
  void ConnectBuiltinControls();
  void DisconnectBuiltinControls() noexcept;
  // Removes persistent controls the module no longer declares.
  void CheckHungControls(TadxCustomCommandBar& bar);
  // The user unloading the add-in: every bar supporting the host uninstalled.
  void UninstallCommandBars();

  // Outlook's windows and menus, as the window tracking and the sinks report them.
  // An explorer or inspector became active: CommandBars() is already its collection.
  void ReconnectWindowBars(bool explorer);
  // OnUpdate of the active explorer's command bars (Outlook 2002 and 2003 rebuild context menus).
  void DoCommandBarsUpdate();
  // Outlook 2007 and later: a context menu is about to show `commandBar`, or the one with that
  // close code has closed.
  void DoContextMenuDisplay(DISPID displayEvent, IDispatch* commandBar);
  void DoContextMenuClose(int closeCode);

 private:
  bool DeletedByUser(const TadxCommandBarControl& item);

  ModuleSite& site_;
  com::ComPtr<IDispatch> commandBars_;
  bool fastCommandBarSearch_ = false;
  std::vector<TadxCustomCommandBar*> commandBarList_;
  std::vector<TadxBuiltInControl*> builtInControls_;
};

}  // namespace qor::framework
