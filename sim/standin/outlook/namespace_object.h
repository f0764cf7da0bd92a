#pragma once

// Outlook's NameSpace ("MAPI" session): one object per Application, the source of NameSpaceEvents.

#include <oaidl.h>

#include <memory>

#include "com/com_object.h"
#include "com/connection_points.h"
#include "host/outlook.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/outlook_ids.h"

namespace qor::standin {

class NameSpaceObject final : public com::ComObject<NameSpaceObject, office::CountedDispatch<NameSpaceObject>,
                                                    com::ConnectionPointContainerImpl> {
 public:
  // `majorVersion` is the Outlook version the session plays (0 when unknown), which decides the
  // members its folders offer.
  NameSpaceObject(std::shared_ptr<host::NameSpace> session, int majorVersion);

  static const com::DispatchTable<NameSpaceObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == ids::kNameSpace; }

  // A folder object of this session; null for a null folder.
  com::ComPtr<IDispatch> MakeFolder(std::shared_ptr<host::Folder> folder);
  int MajorVersion() const noexcept { return majorVersion_; }

 private:
  com::ComPtr<NameSpaceObject> ThisObject();

  std::shared_ptr<host::NameSpace> session_;
  int majorVersion_;
};

}  // namespace qor::standin
