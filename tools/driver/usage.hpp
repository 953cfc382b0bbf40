// What another process can learn of a process's use of the system.
#pragma once

#include <windows.h>

namespace kelvarin::e2e {

// Under Wine the handle count comes from the wineserver and the memory figures from the Linux
// process's /proc.
struct ProcessUsage {
  ULONG handles = 0;
  SIZE_T workingSet = 0;
  SIZE_T virtualSize = 0;
  SIZE_T privateBytes = 0;
};

ProcessUsage usageOf(DWORD process);

} // namespace kelvarin::e2e
