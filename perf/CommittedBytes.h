// Committed private memory of a process, summed over its address space: what
// Windows calls private bytes (Wine's PrivateUsage is always 0). The driver
// reads other processes with it; the clocked builds read themselves.
#pragma once

#include <windows.h>

namespace perf {

inline unsigned long long CommittedPrivateBytes(HANDLE process) {
  unsigned long long total = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* address = nullptr; VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return total;
}

}  // namespace perf
