// What another process can learn of a process's use of the system.
#include "tools/driver/usage.hpp"

#include "tools/driver/failure.hpp"

#include <winternl.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace kelvarin::e2e {

ProcessUsage usageOf(DWORD process) {
  std::vector<char> buffer(1 << 20);
  ULONG needed = 0;
  const NTSTATUS status = ::NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                                     static_cast<ULONG>(buffer.size()), &needed);
  if (status != 0) {
    ::SetLastError(::RtlNtStatusToDosError(status));
    fail("NtQuerySystemInformation");
  }
  for (std::size_t offset = 0;;) {
    SYSTEM_PROCESS_INFORMATION entry{};
    std::memcpy(&entry, buffer.data() + offset, sizeof entry);
    if (reinterpret_cast<std::uintptr_t>(entry.UniqueProcessId) == process) {
      return {entry.HandleCount, entry.VirtualMemoryCounters.WorkingSetSize,
              entry.VirtualMemoryCounters.VirtualSize, entry.VirtualMemoryCounters.PagefileUsage};
    }
    if (entry.NextEntryOffset == 0) {
      ::SetLastError(ERROR_NOT_FOUND);
      fail("NtQuerySystemInformation: the process is not listed");
    }
    offset += entry.NextEntryOffset;
  }
}

} // namespace kelvarin::e2e
