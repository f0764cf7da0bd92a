#pragma once

// The installer's searches for host controls. Each returns the host CommandBarControl or null,
// never throws, and checks that what it found is alive (its Type reads), searching once more when
// it is not: Office may hand out an object of a control it has just dropped.

#include <oaidl.h>

#include <optional>
#include <string>

#include "com/com_ptr.h"
#include "framework/command_bar_model.h"

namespace qor::framework {

class CommandBarInstaller;

// In `bar` and its popups, by kind and tag; everywhere in the installer's CommandBars by kind and tag.
com::ComPtr<IDispatch> FindControlByTag(const com::ComPtr<IDispatch>& bar, TadxControlType kind,
                                        const std::wstring& tag) noexcept;
com::ComPtr<IDispatch> FindControlByTag(CommandBarInstaller& installer, TadxControlType kind,
                                        const std::wstring& tag) noexcept;
// The same by kind and host id.
com::ComPtr<IDispatch> FindControlById(const com::ComPtr<IDispatch>& bar, TadxControlType kind, int id) noexcept;
com::ComPtr<IDispatch> FindControlById(CommandBarInstaller& installer, TadxControlType kind, int id) noexcept;

// The Before argument of Controls.Add: missing when nothing is set or the reference control of
// BeforeID or AfterID is not on `bar`.
std::optional<int> CalcBefore(int before, int beforeId, int afterId, const com::ComPtr<IDispatch>& bar);

// `object` asked for `iid`, as an IDispatch; null when it does not answer.
com::ComPtr<IDispatch> QueryDispatch(const com::ComPtr<IDispatch>& object, REFIID iid) noexcept;

}  // namespace qor::framework
