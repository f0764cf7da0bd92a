#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "host/memory/memory_outlook.h"
#include "host/outlook.h"

#ifdef QOR_ENGINE_OVER_COM
#include "com/com_init.h"
#include "com/com_object.h"
#include "host/automation/outlook_automation.h"
#include "standin/outlook/outlook_standin.h"
#endif

namespace qor::tests {

// The Outlook the engine under test talks to: the in-memory one itself, or, built with
// QOR_ENGINE_OVER_COM, the same Outlook served as COM objects by the stand-in and reached by late
// binding, so that every engine test proves the COM path gives the in-process results. Tests keep
// changing the in-memory Outlook directly either way.
class EngineHost {
 public:
  explicit EngineHost(std::shared_ptr<host::memory::MemoryOutlook> outlook) : application_(Serve(std::move(outlook))) {}
#ifdef QOR_ENGINE_OVER_COM
  ~EngineHost() {
    application_.reset();
    EXPECT_EQ(com::ComObjectsAlive(), 0) << "COM objects of the stand-in leaked";
  }
#endif
  EngineHost(const EngineHost&) = delete;
  EngineHost& operator=(const EngineHost&) = delete;

  host::Application& Get() const noexcept { return *application_; }

 private:
  static std::shared_ptr<host::Application> Serve(std::shared_ptr<host::memory::MemoryOutlook> outlook) {
#ifdef QOR_ENGINE_OVER_COM
    return host::automation::WrapApplication(standin::CreateOutlookApplication(std::move(outlook)));
#else
    return outlook;
#endif
  }

#ifdef QOR_ENGINE_OVER_COM
  com::ComInit init_;
#endif
  std::shared_ptr<host::Application> application_;
};

// What a failure of the stand-in's `member` ("MailItem.Body") that gives `message` tells the
// engine: through COM the object, member and HRESULT (the stand-in's E_UNEXPECTED) come with it.
inline std::string HostFailure(std::string_view member, std::string_view message) {
#ifdef QOR_ENGINE_OVER_COM
  return std::string(member) + ": " + std::string(message) + " (0x8000FFFF)";
#else
  (void)member;
  return std::string(message);
#endif
}

// The same folder: in process the very object; through COM, where every call hands out a new
// wrapper, the same entry id of the same store.
inline bool SameFolder(const std::shared_ptr<host::Folder>& found, const std::shared_ptr<host::Folder>& expected) {
#ifdef QOR_ENGINE_OVER_COM
  if (!found || !expected) return found == expected;
  return found->EntryID() == expected->EntryID() && found->StoreID() == expected->StoreID();
#else
  return found == expected;
#endif
}

}  // namespace qor::tests
