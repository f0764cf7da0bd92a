#pragma once

// Interface and event identifiers of Outlook's object model, with the DISPIDs of the events the
// stand-in raises and the add-in hears. The values are those of Outlook's type library (msoutl.olb).

#include <windows.h>

namespace qor::host::outlook_ids {

constexpr IID OutlookIid(unsigned long first) { return {first, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }

// Interfaces the objects answer, through their IDispatch.
inline constexpr IID kApplication = OutlookIid(0x00063001);  // _Application
inline constexpr IID kNameSpace = OutlookIid(0x00063002);    // _NameSpace
inline constexpr IID kExplorer = OutlookIid(0x00063003);     // _Explorer
inline constexpr IID kInspector = OutlookIid(0x00063005);    // _Inspector
inline constexpr IID kMapiFolder = OutlookIid(0x00063006);   // MAPIFolder
inline constexpr IID kInspectors = OutlookIid(0x00063008);   // _Inspectors
inline constexpr IID kExplorers = OutlookIid(0x0006300A);    // _Explorers
inline constexpr IID kPropertyPages = OutlookIid(0x00063080);
// The dispinterfaces items describe themselves by (IDispatch::GetTypeInfo).
inline constexpr IID kContactItem = OutlookIid(0x00063021);  // _ContactItem
inline constexpr IID kReportItem = OutlookIid(0x00063026);   // _ReportItem
inline constexpr IID kMailItem = OutlookIid(0x00063034);     // _MailItem

// Event dispinterfaces.
inline constexpr IID kApplicationEvents = OutlookIid(0x0006304E);
// Outlook 2003's application events, extended by Outlook 2007 with the context-menu events.
// {0006F03A-...} is the Outlook.Application coclass, not an event interface: Outlook offers no
// connection point for it.
inline constexpr IID kApplicationEvents11 = OutlookIid(0x0006302C);
inline constexpr IID kOutlookApplicationClass = OutlookIid(0x0006F03A);
inline constexpr IID kExplorerEvents = OutlookIid(0x00063050);
inline constexpr IID kExplorersEvents = OutlookIid(0x00063053);
inline constexpr IID kInspectorsEvents = OutlookIid(0x00063054);
inline constexpr IID kInspectorEvents = OutlookIid(0x00063058);
inline constexpr IID kNameSpaceEvents = OutlookIid(0x0006308B);

namespace dispid {
// ApplicationEvents and ApplicationEvents_11 share these (Outlook's type library, as published in
// the interop assemblies: ItemSend 61442 ... Quit 61447).
inline constexpr DISPID kOptionsPagesAdd = 0xF005;
inline constexpr DISPID kStartup = 0xF006;
inline constexpr DISPID kQuit = 0xF007;
// ApplicationEvents_11, Outlook 2007 and later.
inline constexpr DISPID kAttachmentContextMenuDisplay = 0xFB3E;
inline constexpr DISPID kViewContextMenuDisplay = 0xFB40;
inline constexpr DISPID kItemContextMenuDisplay = 0xFB41;
inline constexpr DISPID kFolderContextMenuDisplay = 0xFB42;
inline constexpr DISPID kStoreContextMenuDisplay = 0xFB43;
inline constexpr DISPID kShortcutContextMenuDisplay = 0xFB44;
inline constexpr DISPID kContextMenuClose = 0xFBA6;

// ExplorerEvents; InspectorEvents use Activate, Deactivate and Close.
inline constexpr DISPID kActivate = 0xF001;
inline constexpr DISPID kFolderSwitch = 0xF002;
inline constexpr DISPID kBeforeFolderSwitch = 0xF003;
inline constexpr DISPID kViewSwitch = 0xF004;
inline constexpr DISPID kBeforeViewSwitch = 0xF005;
inline constexpr DISPID kDeactivate = 0xF006;
inline constexpr DISPID kSelectionChange = 0xF007;
inline constexpr DISPID kClose = 0xF008;

// ExplorersEvents NewExplorer, InspectorsEvents NewInspector.
inline constexpr DISPID kNewWindow = 0xF001;
// NameSpaceEvents.
inline constexpr DISPID kNameSpaceOptionsPagesAdd = 0xF005;
}  // namespace dispid

}  // namespace qor::host::outlook_ids
