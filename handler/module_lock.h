// The library's count of living objects and server locks, which decides DllCanUnloadNow.
#pragma once

namespace vn {

void ModuleLockIncrement();
void ModuleLockDecrement();
long ModuleLockCount();

// One count held for as long as the owner lives. As the first member of an object it is given
// back last, after everything else of the object is gone, so the library is never unloaded
// while its code still runs.
class ModuleLock {
 public:
  ModuleLock() { ModuleLockIncrement(); }
  ~ModuleLock() { ModuleLockDecrement(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
};

}  // namespace vn
