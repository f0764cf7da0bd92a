#include "standin/outlook/outlook_window.h"

#include "host/host_error.h"
#include "host/memory/host_messages.h"

namespace qor::standin {

void OutlookWindow::CheckOpen() const {
  if (closed_) throw host::HostError(closedMessage_);
}

std::shared_ptr<OutlookSession> OutlookWindow::Session() const {
  auto session = session_.lock();
  if (!session) throw host::HostError(host::memory::messages::kOperationFailed);
  return session;
}

}  // namespace qor::standin
