#include "outlook_source.h"

#include <utility>

namespace qor::tools {

namespace {

class InProcess : public EngineOutlook {
 public:
  explicit InProcess(std::shared_ptr<host::memory::MemoryOutlook> mailbox) : mailbox_(std::move(mailbox)) {}
  host::Application& Application() override { return *mailbox_; }

 private:
  std::shared_ptr<host::memory::MemoryOutlook> mailbox_;
};

}  // namespace

std::unique_ptr<EngineOutlook> InProcessOutlook(std::shared_ptr<host::memory::MemoryOutlook> mailbox) {
  return std::make_unique<InProcess>(std::move(mailbox));
}

}  // namespace qor::tools
