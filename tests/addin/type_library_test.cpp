#include "addin/qorOutlook_TLB.h"
#include "com/bstr.h"
#include "com/com_init.h"
#include "com/com_ptr.h"
#include "com/utf.h"

#include <windows.h>

#include <olectl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qor::addin {
namespace {

using com::Bstr;
using com::ComPtr;
using ::testing::AnyOf;
using ::testing::Eq;

std::string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return com::ToUtf8(text);
}

ComPtr<ITypeLib> LoadLibraryFrom(const std::wstring& path) {
  ComPtr<ITypeLib> library;
  EXPECT_EQ(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put()), S_OK) << com::ToUtf8(path);
  return library;
}

std::string Name(ITypeInfo* info, MEMBERID member = MEMBERID_NIL) {
  Bstr name;
  EXPECT_EQ(info->GetDocumentation(member, name.Put(), nullptr, nullptr, nullptr), S_OK);
  return name.ToUtf8();
}

std::string HelpString(ITypeInfo* info) {
  Bstr help;
  EXPECT_EQ(info->GetDocumentation(MEMBERID_NIL, nullptr, help.Put(), nullptr, nullptr), S_OK);
  return help.ToUtf8();
}

// Owners of the attribute blocks ITypeInfo lends out.
struct TypeAttr {
  explicit TypeAttr(ITypeInfo* info) : info_(info) { EXPECT_EQ(info->GetTypeAttr(&attr_), S_OK); }
  ~TypeAttr() { info_->ReleaseTypeAttr(attr_); }
  TypeAttr(const TypeAttr&) = delete;
  TypeAttr& operator=(const TypeAttr&) = delete;
  const TYPEATTR* operator->() const { return attr_; }
  ITypeInfo* info_;
  TYPEATTR* attr_ = nullptr;
};

struct FuncDesc {
  FuncDesc(ITypeInfo* info, UINT index) : info_(info) { EXPECT_EQ(info->GetFuncDesc(index, &desc_), S_OK); }
  ~FuncDesc() { info_->ReleaseFuncDesc(desc_); }
  FuncDesc(const FuncDesc&) = delete;
  FuncDesc& operator=(const FuncDesc&) = delete;
  const FUNCDESC* operator->() const { return desc_; }
  ITypeInfo* info_;
  FUNCDESC* desc_ = nullptr;
};

// A type as IDL spells it; an alias also names what it stands for.
std::string TypeName(ITypeInfo* info, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_PTR:
      return TypeName(info, *type.lptdesc) + "*";
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> ref;
      EXPECT_EQ(info->GetRefTypeInfo(type.hreftype, ref.Put()), S_OK);
      TypeAttr attr(ref.Get());
      if (attr->typekind == TKIND_ALIAS) {
        return Name(ref.Get()) + "=" + TypeName(ref.Get(), attr->tdescAlias);
      }
      return Name(ref.Get());
    }
    case VT_BOOL:
      return "VARIANT_BOOL";
    case VT_BSTR:
      return "BSTR";
    case VT_I2:
      return "short";
    case VT_I4:
      return "long";
    case VT_UI4:
      return "ULONG";
    case VT_HRESULT:
      return "HRESULT";
    case VT_VOID:
      return "void";
    default:
      return "vt" + std::to_string(type.vt);
  }
}

std::string Join(const std::vector<std::string>& parts) {
  std::string text;
  for (const auto& part : parts) {
    text += (text.empty() ? "" : ", ") + part;
  }
  return text;
}

std::string TypeFlags(WORD flags) {
  static const std::pair<WORD, const char*> names[] = {{TYPEFLAG_FAPPOBJECT, "appobject"},
                                                       {TYPEFLAG_FCANCREATE, "cancreate"},
                                                       {TYPEFLAG_FLICENSED, "licensed"},
                                                       {TYPEFLAG_FPREDECLID, "predeclid"},
                                                       {TYPEFLAG_FHIDDEN, "hidden"},
                                                       {TYPEFLAG_FCONTROL, "control"},
                                                       {TYPEFLAG_FDUAL, "dual"},
                                                       {TYPEFLAG_FNONEXTENSIBLE, "nonextensible"},
                                                       {TYPEFLAG_FOLEAUTOMATION, "oleautomation"},
                                                       {TYPEFLAG_FRESTRICTED, "restricted"},
                                                       {TYPEFLAG_FAGGREGATABLE, "aggregatable"},
                                                       {TYPEFLAG_FREPLACEABLE, "replaceable"},
                                                       {TYPEFLAG_FDISPATCHABLE, "dispatchable"},
                                                       {TYPEFLAG_FREVERSEBIND, "reversebind"},
                                                       {TYPEFLAG_FPROXY, "proxy"}};
  std::vector<std::string> set;
  for (const auto& [flag, name] : names) {
    if ((flags & flag) != 0) {
      set.emplace_back(name);
      flags &= ~flag;
    }
  }
  if (flags != 0) {
    set.push_back("0x" + std::to_string(flags));
  }
  return "[" + Join(set) + "]";
}

// One type as oleview would summarise it: kind, name, identifier, flags, help string, and its
// enumerators, base interface or implemented interfaces.
std::string DescribeType(ITypeInfo* info) {
  TypeAttr attr(info);
  static const char* const kinds[] = {"enum", "record", "module", "interface", "dispatch", "coclass", "alias", "union"};
  std::string text = std::string(kinds[attr->typekind]) + " " + Name(info) + " " + GuidText(attr->guid) + " " +
                     TypeFlags(attr->wTypeFlags) + " \"" + HelpString(info) + "\"";
  if (attr->typekind == TKIND_ALIAS) {
    text += " = " + TypeName(info, attr->tdescAlias);
  }
  std::vector<std::string> parts;
  for (UINT i = 0; i < attr->cVars; ++i) {
    VARDESC* var = nullptr;
    EXPECT_EQ(info->GetVarDesc(i, &var), S_OK);
    EXPECT_EQ(var->varkind, VAR_CONST);
    EXPECT_EQ(V_VT(var->lpvarValue), VT_I4);
    parts.push_back(Name(info, var->memid) + "=" + std::to_string(V_I4(var->lpvarValue)));
    info->ReleaseVarDesc(var);
  }
  for (UINT i = 0; i < attr->cImplTypes; ++i) {
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> implemented;
    INT flags = 0;
    EXPECT_EQ(info->GetRefTypeOfImplType(i, &ref), S_OK);
    EXPECT_EQ(info->GetRefTypeInfo(ref, implemented.Put()), S_OK);
    EXPECT_EQ(info->GetImplTypeFlags(i, &flags), S_OK);
    std::string prefix = flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) ? "[default, source] "
                         : flags == IMPLTYPEFLAG_FDEFAULT                        ? "[default] "
                         : flags == 0                                            ? ""
                                                                                 : "[?] ";
    parts.push_back(prefix + Name(implemented.Get()));
  }
  return text + " {" + Join(parts) + "}";
}

std::string ParamFlags(USHORT flags) {
  std::vector<std::string> set;
  if ((flags & PARAMFLAG_FIN) != 0) set.emplace_back("in");
  if ((flags & PARAMFLAG_FOUT) != 0) set.emplace_back("out");
  if ((flags & PARAMFLAG_FRETVAL) != 0) set.emplace_back("retval");
  if ((flags & ~(PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)) != 0) set.emplace_back("?");
  return "[" + Join(set) + "] ";
}

// One member as "propget 1 Visible([out, retval] VARIANT_BOOL* Value) HRESULT".
std::string DescribeMember(ITypeInfo* info, const FUNCDESC& desc) {
  const char* kind = desc.invkind == INVOKE_PROPERTYGET   ? "propget"
                     : desc.invkind == INVOKE_PROPERTYPUT ? "propput"
                     : desc.invkind == INVOKE_FUNC        ? "func"
                                                          : "?";
  BSTR names[8] = {};
  UINT count = 0;
  EXPECT_EQ(info->GetNames(desc.memid, names, 8, &count), S_OK);
  std::vector<std::string> params;
  for (SHORT i = 0; i < desc.cParams; ++i) {
    const ELEMDESC& param = desc.lprgelemdescParam[i];
    params.push_back(ParamFlags(param.paramdesc.wParamFlags) + TypeName(info, param.tdesc) +
                     (static_cast<UINT>(i) + 1 < count ? " " + com::ToUtf8(names[i + 1]) : ""));
  }
  std::string text = std::string(kind) + " " + std::to_string(desc.memid) + " " + com::ToUtf8(names[0]) + "(" +
                     Join(params) + ") " + TypeName(info, desc.elemdescFunc.tdesc);
  for (UINT i = 0; i < count; ++i) {
    SysFreeString(names[i]);
  }
  return text;
}

std::vector<std::string> DescribeMembers(ITypeInfo* info) {
  TypeAttr attr(info);
  std::vector<std::string> members;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    members.push_back(DescribeMember(info, *FuncDesc(info, i).desc_));
  }
  return members;
}

ComPtr<ITypeInfo> TypeOf(ITypeLib* library, const GUID& guid) {
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(library->GetTypeInfoOfGuid(guid, info.Put()), S_OK) << GuidText(guid);
  return info;
}

// The TKIND_INTERFACE half of a dual interface, as early-bound callers see it.
ComPtr<ITypeInfo> VtableHalf(ITypeLib* library, const GUID& iid) {
  const ComPtr<ITypeInfo> dispatch = TypeOf(library, iid);
  HREFTYPE ref = 0;
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(dispatch->GetRefTypeOfImplType(-1, &ref), S_OK);
  EXPECT_EQ(dispatch->GetRefTypeInfo(ref, info.Put()), S_OK);
  return info;
}

std::wstring TypeLibraryFile() { return com::ToUtf16(QOR_ADDIN_TLB); }

std::wstring ThisProgram() {
  wchar_t path[MAX_PATH] = {};
  EXPECT_NE(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  return path;
}

class TypeLibraryTest : public ::testing::Test {
 private:
  com::ComInit init_;
};

TEST_F(TypeLibraryTest, TypeLibrary_DescribesEveryTypeMemberAndIdentifier) {
  const ComPtr<ITypeLib> library = LoadLibraryFrom(TypeLibraryFile());
  ASSERT_TRUE(library.Get());

  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(GuidText(attr->guid), "{BE0F66D7-853C-4622-9D4E-10F32C277401}");
  EXPECT_EQ(attr->lcid, 0x0409u);
  EXPECT_EQ(attr->syskind, SYS_WIN32);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->wLibFlags, LIBFLAG_FCONTROL | LIBFLAG_FHASDISKIMAGE);  // the second: loaded from a file
  library->ReleaseTLibAttr(attr);
  Bstr name;
  Bstr help;
  ASSERT_EQ(library->GetDocumentation(-1, name.Put(), help.Put(), nullptr, nullptr), S_OK);
  EXPECT_EQ(name.ToUtf8(), "qorOutlook");
  EXPECT_EQ(help.ToUtf8(), "qorOutlook Library");

  std::vector<std::string> types;
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfo(i, info.Put()), S_OK);
    types.push_back(DescribeType(info.Get()));
  }
  EXPECT_EQ(
      types,
      (std::vector<std::string>{
          "alias OLE_COLOR {66504301-BE0F-101A-8BBB-00AA00300CAB} [] \"\" = ULONG {}",
          "enum TxActiveFormBorderStyle {C02D4BB3-773A-4BF9-8BC4-F8C44AA3875D} [] \"\" "
          "{afbNone=0, afbSingle=1, afbSunken=2, afbRaised=3}",
          "enum TxPrintScale {B7634513-1584-481F-B24F-3309CE18C307} [] \"\" {poNone=0, poProportional=1, "
          "poPrintToFit=2}",
          "enum TxMouseButton {F7EE1E61-5741-4616-BE2E-843CC5D66EBA} [] \"\" {mbLeft=0, mbRight=1, mbMiddle=2}",
          "dispatch IcoqorOutlook {EE7227A1-6CAA-43EB-AB51-F2E0E4872DA8} [dual, dispatchable] "
          "\"Dispatch interface for coqorOutlook Object\" {IDispatch}",
          "dispatch IcoQORSettings {890F1062-6241-498A-BFF8-11871A25B3EE} [dual, dispatchable] "
          "\"Dispatch interface for coQORSettings Control\" {IDispatch}",
          "dispatch IcoQORSettingsEvents {E791F0F2-ED12-466E-B298-A9118D9569A0} [dispatchable] "
          "\"Events interface for coQORSettings Control\" {IDispatch}",
          "coclass coqorOutlook {DA58D642-4C75-4880-A350-3D77035C372E} [cancreate] \"coqorOutlook Object\" "
          "{[default] IcoqorOutlook}",
          "coclass coQORSettings {0A10A588-1D4D-49DC-A539-13FC4B226262} [cancreate, control] \"coQORSettings Control\" "
          "{[default] IcoQORSettings, [default, source] IcoQORSettingsEvents}",
      }));

  const ComPtr<ITypeInfo> settings = VtableHalf(library.Get(), IID_IcoQORSettings);
  ASSERT_TRUE(settings.Get());
  EXPECT_EQ(
      (std::vector{DescribeType(VtableHalf(library.Get(), IID_IcoqorOutlook).Get()), DescribeType(settings.Get())}),
      (std::vector<std::string>{
          "interface IcoqorOutlook {EE7227A1-6CAA-43EB-AB51-F2E0E4872DA8} [dual, oleautomation, dispatchable] "
          "\"Dispatch interface for coqorOutlook Object\" {IDispatch}",
          "interface IcoQORSettings {890F1062-6241-498A-BFF8-11871A25B3EE} [dual, oleautomation, dispatchable] "
          "\"Dispatch interface for coQORSettings Control\" {IDispatch}",
      }));

  // The identifiers code names, against the library and the widl header.
  EXPECT_EQ(GuidText(LIBID_qorOutlook), "{BE0F66D7-853C-4622-9D4E-10F32C277401}");
  EXPECT_EQ(GuidText(CLASS_coqorOutlook), GuidText(__uuidof(coqorOutlook)));
  EXPECT_EQ(GuidText(CLASS_coQORSettings), GuidText(__uuidof(coQORSettings)));
  EXPECT_EQ(GuidText(IID_IcoqorOutlook), GuidText(__uuidof(IcoqorOutlook)));
  EXPECT_EQ(GuidText(IID_IcoQORSettings), GuidText(__uuidof(IcoQORSettings)));
  EXPECT_EQ(GuidText(DIID_IcoQORSettingsEvents), GuidText(__uuidof(IcoQORSettingsEvents)));
  EXPECT_EQ(qorOutlookMajorVersion, 1);
  EXPECT_EQ(qorOutlookMinorVersion, 0);

  // The options control: every property with its dispatch id, in order, and its events.
  const std::vector<std::string> members = DescribeMembers(settings.Get());
  const std::vector<std::string> expectedMembers{
      "propget 1 Visible([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput 1 Visible([in] VARIANT_BOOL Value) HRESULT",
      "propget 2 AutoScroll([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput 2 AutoScroll([in] VARIANT_BOOL Value) HRESULT",
      "propget 3 AutoSize([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput 3 AutoSize([in] VARIANT_BOOL Value) HRESULT",
      "propget 4 AxBorderStyle([out, retval] TxActiveFormBorderStyle* Value) HRESULT",
      "propput 4 AxBorderStyle([in] TxActiveFormBorderStyle Value) HRESULT",
      "propget -518 Caption([out, retval] BSTR* Value) HRESULT",
      "propput -518 Caption([in] BSTR Value) HRESULT",
      "propget 5 Color([out, retval] OLE_COLOR=ULONG* Value) HRESULT",
      "propput 5 Color([in] OLE_COLOR=ULONG Value) HRESULT",
      "propget 6 KeyPreview([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput 6 KeyPreview([in] VARIANT_BOOL Value) HRESULT",
      "propget 7 PixelsPerInch([out, retval] long* Value) HRESULT",
      "propput 7 PixelsPerInch([in] long Value) HRESULT",
      "propget 8 PrintScale([out, retval] TxPrintScale* Value) HRESULT",
      "propput 8 PrintScale([in] TxPrintScale Value) HRESULT",
      "propget 9 Scaled([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput 9 Scaled([in] VARIANT_BOOL Value) HRESULT",
      "propget 10 Active([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propget 11 DropTarget([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput 11 DropTarget([in] VARIANT_BOOL Value) HRESULT",
      "propget 12 HelpFile([out, retval] BSTR* Value) HRESULT",
      "propput 12 HelpFile([in] BSTR Value) HRESULT",
      "propget 13 DoubleBuffered([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput 13 DoubleBuffered([in] VARIANT_BOOL Value) HRESULT",
      "propget 14 VisibleDockClientCount([out, retval] long* Value) HRESULT",
      "propget -514 Enabled([out, retval] VARIANT_BOOL* Value) HRESULT",
      "propput -514 Enabled([in] VARIANT_BOOL Value) HRESULT",
      "propget 15 Cursor([out, retval] short* Value) HRESULT",
      "propput 15 Cursor([in] short Value) HRESULT",
  };
  EXPECT_EQ(members, expectedMembers);

  // The library is written for 32-bit callers: slots after IDispatch's seven, four bytes each, which
  // oleaut32 may give in the caller's pointer size (Wine scales oVft, not cbSizeVft).
  for (UINT i = 0; i < members.size(); ++i) {
    FuncDesc desc(settings.Get(), i);
    EXPECT_EQ(desc->funckind, FUNC_PUREVIRTUAL) << members[i];
    EXPECT_EQ(desc->callconv, CC_STDCALL) << members[i];
    const auto slot = static_cast<SHORT>(7 + i);
    EXPECT_THAT(desc->oVft, AnyOf(Eq(slot * 4), Eq(slot * static_cast<SHORT>(sizeof(void*))))) << members[i];
  }
  EXPECT_THAT(TypeAttr(settings.Get())->cbSizeVft, AnyOf(Eq(39 * 4), Eq(39 * static_cast<int>(sizeof(void*)))));

  // Late-bound callers (scripts, Outlook's property pages) find the same ids by name.
  for (const auto& [member, expected] :
       {std::pair{L"Caption", DISPID_CAPTION}, {L"Enabled", DISPID_ENABLED}, {L"Cursor", 15}}) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
    MEMBERID id = 0;
    EXPECT_EQ(TypeOf(library.Get(), IID_IcoQORSettings)->GetIDsOfNames(names, 1, &id), S_OK);
    EXPECT_EQ(id, expected) << com::ToUtf8(member);
  }

  const ComPtr<ITypeInfo> events = TypeOf(library.Get(), DIID_IcoQORSettingsEvents);
  const std::vector<std::string> expectedEvents{
      "func 1 OnActivate() void",
      "func 2 OnClick() void",
      "func 3 OnCreate() void",
      "func 5 OnDblClick() void",
      "func 6 OnDestroy() void",
      "func 7 OnDeactivate() void",
      "func 11 OnKeyPress([in, out] short* Key) void",
      "func 16 OnPaint() void",
  };
  EXPECT_EQ(DescribeMembers(events.Get()), expectedEvents);
  for (UINT i = 0; i < 8; ++i) {
    EXPECT_EQ(FuncDesc(events.Get(), i)->funckind, FUNC_DISPATCH);
  }
}

std::string VersionString(const std::vector<char>& block, const wchar_t* key) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904E4\\") + key;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length)) {
    return "(none)";
  }
  return com::ToUtf8(static_cast<const wchar_t*>(value));
}

// The test program links the DLL's resources, so it is read here as Outlook and regsvr32 read the DLL.
TEST_F(TypeLibraryTest, Resources_CarryTypeLibraryVersionAndToolboxBitmap) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), L"TYPELIB");
  ASSERT_NE(found, nullptr);
  const auto* embedded = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  std::ifstream file(QOR_ADDIN_TLB, std::ios::binary);
  const std::string built{std::istreambuf_iterator<char>(file), {}};
  ASSERT_FALSE(built.empty());
  EXPECT_EQ(std::string(embedded, SizeofResource(nullptr, found)), built);

  const ComPtr<ITypeLib> library = LoadLibraryFrom(ThisProgram());
  ASSERT_TRUE(library.Get());
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(GuidText(attr->guid), GuidText(LIBID_qorOutlook));
  EXPECT_EQ(attr->syskind, SYS_WIN32);
  library->ReleaseTLibAttr(attr);
  EXPECT_EQ(library->GetTypeInfoCount(), 9u);

  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(ThisProgram().c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(ThisProgram().c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(QOR_VERSION_MAJOR << 16 | QOR_VERSION_MINOR));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(QOR_VERSION_PATCH << 16));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
  EXPECT_EQ(VersionString(block, L"FileDescription"), "QOR for Outlook");
  EXPECT_EQ(VersionString(block, L"ProductName"), "QOR for Outlook");
  EXPECT_EQ(VersionString(block, L"OriginalFilename"), "qorOutlook.dll");
  EXPECT_EQ(VersionString(block, L"FileVersion"), std::string(QOR_VERSION) + ".0");

  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info = {};
  EXPECT_EQ(GetObjectW(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 16);
  EXPECT_EQ(info.bmHeight, 16);
  DeleteObject(bitmap);
}

}  // namespace
}  // namespace qor::addin
