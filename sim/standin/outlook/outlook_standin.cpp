#include "standin/outlook/outlook_standin.h"

#include <stdexcept>
#include <utility>

#include "standin/outlook/application_object.h"

namespace qor::standin {

com::ComPtr<IDispatch> CreateOutlookApplication(std::shared_ptr<host::memory::MemoryOutlook> outlook) {
  if (!outlook) throw std::invalid_argument("the Application needs an in-memory Outlook");
  std::string version = outlook->VersionText();
  return com::Make<ApplicationObject>(OutlookSession::Create(std::move(outlook), std::move(version)));
}

}  // namespace qor::standin
