#include <utility>

#include "com/com_init.h"
#include "host/automation/outlook_automation.h"
#include "outlook_source.h"
#include "standin/outlook/outlook_standin.h"

namespace qor::tools {

namespace {

class OverCom : public EngineOutlook {
 public:
  explicit OverCom(std::shared_ptr<host::memory::MemoryOutlook> mailbox)
      : application_(host::automation::WrapApplication(standin::CreateOutlookApplication(std::move(mailbox)))) {}
  host::Application& Application() override { return *application_; }

 private:
  com::ComInit init_;  // first in, last out: the wrappers release their objects before COM goes
  std::shared_ptr<host::Application> application_;
};

}  // namespace

std::unique_ptr<EngineOutlook> ComOutlook(std::shared_ptr<host::memory::MemoryOutlook> mailbox) {
  return std::make_unique<OverCom>(std::move(mailbox));
}

}  // namespace qor::tools
