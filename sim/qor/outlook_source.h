#pragma once

#include <memory>

#include "host/memory/memory_outlook.h"
#include "host/outlook.h"

namespace qor::tools {

// The Outlook the engine talks to for a mailbox loaded in memory.
class EngineOutlook {
 public:
  virtual ~EngineOutlook() = default;
  virtual host::Application& Application() = 0;
};

// The mailbox itself.
std::unique_ptr<EngineOutlook> InProcessOutlook(std::shared_ptr<host::memory::MemoryOutlook> mailbox);

// The mailbox served as Outlook's COM objects by the stand-in and reached by late binding, so
// that every Outlook call crosses COM; COM stays initialised for the life of the result. Only the
// Windows build has it.
std::unique_ptr<EngineOutlook> ComOutlook(std::shared_ptr<host::memory::MemoryOutlook> mailbox);

// `qor --com` picks ComOutlook.
inline std::unique_ptr<EngineOutlook> OpenEngineOutlook(std::shared_ptr<host::memory::MemoryOutlook> mailbox,
                                                        bool overCom) {
#ifdef _WIN32
  if (overCom) return ComOutlook(std::move(mailbox));
#else
  (void)overCom;
#endif
  return InProcessOutlook(std::move(mailbox));
}

}  // namespace qor::tools
