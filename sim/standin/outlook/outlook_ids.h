#pragma once

#include "host/automation/outlook_ids.h"

namespace qor::standin {
namespace ids = host::outlook_ids;
}  // namespace qor::standin
