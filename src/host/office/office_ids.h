#pragma once

// Office's command-bar interfaces. They are dual, but we reach them only through IDispatch by name,
// so each is declared as an IDispatch that carries Office's IID: enough for QueryInterface and for
// listing it among a ComObject's interfaces.

#include <oaidl.h>

namespace qor::host::office {

struct ICommandBars : IDispatch {};         // _CommandBars
struct ICommandBar : IDispatch {};          // CommandBar
struct ICommandBarControls : IDispatch {};  // CommandBarControls
struct ICommandBarControl : IDispatch {};   // CommandBarControl
struct ICommandBarPopup : IDispatch {};     // CommandBarPopup
struct ICommandBarComboBox : IDispatch {};  // _CommandBarComboBox
struct ICommandBarButton : IDispatch {};    // _CommandBarButton

// Event dispinterfaces; each event is DISPID 1.
struct DCommandBarButtonEvents : IDispatch {};    // Click(Ctrl, CancelDefault)
struct DCommandBarsEvents : IDispatch {};         // OnUpdate()
struct DCommandBarComboBoxEvents : IDispatch {};  // Change(Ctrl)

inline constexpr DISPID kClickDispId = 1;
inline constexpr DISPID kOnUpdateDispId = 1;
inline constexpr DISPID kChangeDispId = 1;

}  // namespace qor::host::office

#define QOR_OFFICE_IID(type, first) \
  __CRT_UUID_DECL(qor::host::office::type, first, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

QOR_OFFICE_IID(ICommandBars, 0x000C0302)
QOR_OFFICE_IID(ICommandBar, 0x000C0304)
QOR_OFFICE_IID(ICommandBarControls, 0x000C0306)
QOR_OFFICE_IID(ICommandBarControl, 0x000C0308)
QOR_OFFICE_IID(ICommandBarPopup, 0x000C030A)
QOR_OFFICE_IID(ICommandBarComboBox, 0x000C030C)
QOR_OFFICE_IID(ICommandBarButton, 0x000C030E)
QOR_OFFICE_IID(DCommandBarButtonEvents, 0x000C0351)
QOR_OFFICE_IID(DCommandBarsEvents, 0x000C0352)
QOR_OFFICE_IID(DCommandBarComboBoxEvents, 0x000C0354)

#undef QOR_OFFICE_IID
