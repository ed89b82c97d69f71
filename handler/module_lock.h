// The library's count of living objects and server locks, which decides DllCanUnloadNow.
#pragma once

namespace vn {

void ModuleLockIncrement();
void ModuleLockDecrement();
long ModuleLockCount();

}  // namespace vn
