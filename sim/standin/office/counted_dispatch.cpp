#include "standin/office/counted_dispatch.h"

namespace qor::standin::office {
namespace {

StandinCalls calls;  // objects live in one apartment: no two calls at once

}  // namespace

const StandinCalls& StandinCallCounts() noexcept { return calls; }

void CountStandinCall() noexcept { ++calls.calls; }

void CountStandinNameLookup() noexcept { ++calls.nameLookups; }

void CountStandinTypeInfo() noexcept { ++calls.typeInfos; }

}  // namespace qor::standin::office
