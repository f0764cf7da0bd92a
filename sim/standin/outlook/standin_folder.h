#pragma once

// A private interface the stand-in's folder objects answer, so that Move and the explorer can get
// from a folder a caller hands back to the host folder behind it by QueryInterface: a foreign
// object, or ours reached through a proxy, answers E_NOINTERFACE instead of being downcast.
// In-process only: it passes C++ objects.

#include <unknwn.h>

#include <memory>

#include "host/outlook.h"

namespace qor::standin {

struct IStandinFolder : IUnknown {
  virtual std::shared_ptr<host::Folder> StandinFolder() const noexcept = 0;
};

}  // namespace qor::standin

__CRT_UUID_DECL(qor::standin::IStandinFolder, 0xb8f00ace, 0xec03, 0x4943, 0x88, 0x25, 0xc3, 0x48, 0x01, 0x48, 0xb8,
                0x2f)
