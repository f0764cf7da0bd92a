#pragma once

// Office's COMAddIns collection and its COMAddIn entries, as a host hands them to add-ins: the
// entry is the AddInInst of IDTExtensibility2::OnConnection. The host keeps the state (connected,
// the add-in's object) and clears the collection when it is done, which breaks the cycle between
// the collection and the entries that name it as their Parent.

#include <oaidl.h>

#include <string>
#include <utility>
#include <vector>

#include "com/com_object.h"
#include "com/variant.h"
#include "standin/office/counted_dispatch.h"

namespace qor::standin::office {

constexpr IID OfficeIid(unsigned long first) { return {first, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }
inline constexpr IID kComAddInsIid = OfficeIid(0x000C0339);
inline constexpr IID kComAddInIid = OfficeIid(0x000C033A);

class ComAddInsObject;

class ComAddInObject final : public com::ComObject<ComAddInObject, CountedDispatch<ComAddInObject>> {
 public:
  // `guid` is the add-in's CLSID in braces; `description` the name the COM add-ins dialog shows.
  ComAddInObject(com::ComPtr<ComAddInsObject> parent, std::string progId, std::string guid, std::string description);

  static const com::DispatchTable<ComAddInObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == kComAddInIid; }

  const std::string& ProgId() const noexcept { return progId_; }
  bool Connected() const noexcept { return connected_; }
  // Office forgets what the add-in set as Object once it is disconnected.
  void SetConnected(bool connected) noexcept;

 private:
  friend class ComAddInsObject;

  com::ComPtr<ComAddInsObject> parent_;
  std::string progId_;
  std::string guid_;
  std::string description_;
  bool connected_ = false;
  com::Variant object_;
};

class ComAddInsObject final : public com::ComObject<ComAddInsObject, CountedDispatch<ComAddInsObject>> {
 public:
  explicit ComAddInsObject(com::ComPtr<IDispatch> application) : application_(std::move(application)) {}

  static const com::DispatchTable<ComAddInsObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == kComAddInsIid; }

  com::ComPtr<ComAddInObject> Add(std::string progId, std::string guid, std::string description);
  // Null when no entry has that ProgID (any letter case, as Item finds it).
  com::ComPtr<ComAddInObject> Find(const std::string& progId) const;
  // Drops every entry and what the add-ins set as their Object.
  void Clear() noexcept;

 private:
  friend class ComAddInObject;

  com::ComPtr<IDispatch> application_;
  std::vector<com::ComPtr<ComAddInObject>> entries_;
};

}  // namespace qor::standin::office
