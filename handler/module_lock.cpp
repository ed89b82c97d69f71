#include "handler/module_lock.h"

#include <atomic>

namespace vn {
namespace {
std::atomic<long> g_locks{0};
}  // namespace

void ModuleLockIncrement() { g_locks.fetch_add(1); }
void ModuleLockDecrement() { g_locks.fetch_sub(1); }
long ModuleLockCount() { return g_locks.load(); }

}  // namespace vn
