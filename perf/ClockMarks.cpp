// The marks the clocked builds (Quarrow-clocked.exe, floor-clocked.exe) write
// at exit: a line per step of their start-up (bar/win/StartupClock.h). The counter is the session's one clock, so the driver can put
// each mark against the moment it called CreateProcess.
#include <sstream>

#include "BarHarness.h"
#include "Bench.h"
#include "Probe.h"

namespace perf {

std::vector<ClockMark> ParseClockMarks(const std::string& text, double startMs) {
  std::vector<ClockMark> marks;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    long long counter = 0, resumed = 0;
    ClockMark mark;
    if (!(fields >> counter >> resumed >> mark.workingSetKb >> mark.committedKb) || fields.get() != ' ') continue;
    std::getline(fields, mark.step);
    if (mark.step.empty() || mark.step[0] == ' ' || resumed < counter) continue;
    mark.ms = CounterToMs(counter) - startMs;
    mark.resumedMs = CounterToMs(resumed) - startMs;
    marks.push_back(std::move(mark));
  }
  return marks;
}

std::vector<ClockMark> ReadClockMarks(const std::string& folder, double startMs) {
  return ParseClockMarks(ReadFileBytes(folder + "\\startup-clock.txt"), startMs);
}

}  // namespace perf
