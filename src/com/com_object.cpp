#include "com/com_object.h"

namespace qor::com {
namespace {

std::atomic<long> objectsAlive{0};
std::atomic<long> moduleLocks{0};

}  // namespace

long ComObjectsAlive() noexcept { return objectsAlive.load(); }

void ModuleLock() noexcept { ++moduleLocks; }

void ModuleUnlock() noexcept { --moduleLocks; }

long ModuleLockCount() noexcept { return moduleLocks.load(); }

namespace detail {

void ObjectCreated() noexcept {
  ++objectsAlive;
  ModuleLock();
}

void ObjectDestroyed() noexcept {
  --objectsAlive;
  ModuleUnlock();
}

}  // namespace detail
}  // namespace qor::com
