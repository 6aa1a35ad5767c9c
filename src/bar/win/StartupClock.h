// Marks at the steps of the start-up, for the measuring builds only
// (QUARROW_STARTUP_CLOCK: Quarrow-clocked.exe and floor-clocked.exe, built by
// tools/perf.sh); in Quarrow.exe every mark compiles to nothing. A mark holds
// the performance counter, the working set and the committed private memory
// at that moment, and the counter again once those are read, so that reading
// them is not counted in the next step. The marks are written at exit to
// startup-clock.txt in the current folder, a line each:
//   <counter> <counter after reading> <working set KB> <committed KB> <step>
#pragma once

#ifdef QUARROW_STARTUP_CLOCK
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "CommittedBytes.h"  // the measuring tools' (perf/), on the clocked builds' include path

namespace startup_clock {

struct Mark {
  const char* step;
  LONGLONG counter, resumed;
  unsigned long long workingSet, committed;
};
inline Mark g_marks[32];
inline int g_count = 0;

inline LONGLONG Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

inline void WriteMarks() {
  if (FILE* file = std::fopen("startup-clock.txt", "w")) {
    for (int i = 0; i < g_count; ++i) {
      const Mark& m = g_marks[i];
      std::fprintf(file, "%lld %lld %llu %llu %s\n", m.counter, m.resumed,
                   static_cast<unsigned long long>(m.workingSet / 1024),
                   static_cast<unsigned long long>(m.committed / 1024), m.step);
    }
    std::fclose(file);
  }
}

}  // namespace startup_clock

inline void MarkStartup(const char* step) {
  using namespace startup_clock;
  LONGLONG counter = Counter();
  if (g_count == 0) std::atexit(WriteMarks);
  if (g_count == 32) return;
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  g_marks[g_count++] = {step, counter, 0, memory.WorkingSetSize, perf::CommittedPrivateBytes(GetCurrentProcess())};
  g_marks[g_count - 1].resumed = Counter();
}
#else
inline void MarkStartup(const char*) {}
#endif
