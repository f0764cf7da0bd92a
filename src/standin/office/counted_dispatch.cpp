#include "standin/office/counted_dispatch.h"

namespace qor::standin::office {
namespace {

long long calls = 0;  // objects live in one apartment: no two calls at once

}  // namespace

long long StandinCallCount() noexcept { return calls; }

void CountStandinCall() noexcept { ++calls; }

}  // namespace qor::standin::office
