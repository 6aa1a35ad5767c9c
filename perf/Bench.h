// The three measurements of the performance driver and what they share: the
// report they write and the folders the programs start in.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Stats.h"

namespace perf {

// What the driver prints: Markdown tables for people, and one line per
// figure that tools/perf.sh collects:
//   RESULT <name> <value> <unit> <target or -> <met|missed|reached|not-reached|->
class Report {
 public:
  void Heading(const std::string& text);
  void Line(const std::string& text);
  // A figure with an upper bound; `met` says whether it holds.
  void Result(const std::string& name, double value, const std::string& unit,
              const std::string& target = "-", int met = -1);
  // A figure with a bound beyond the target, aimed at but not required: its
  // verdict is "reached" or "not-reached", and never makes the run a miss.
  void Moonshot(const std::string& name, double value, const std::string& unit, const std::string& target,
                bool reached);
  void Failure(const std::string& what);  // a measurement that could not be made
  bool AnyMissed() const { return m_missed; }
  bool AnyFailed() const { return m_failed; }

 private:
  bool m_missed = false;
  bool m_failed = false;
};

std::string Format(const char* format, ...);
std::string SummaryRow(const std::string& label, const Summary& s);  // a Markdown table row, in ms
std::string SummaryHeader();

// A new empty folder under the temporary folder, and its removal.

// How steady the processor is just now: the same fixed piece of arithmetic
// timed ten times ("a fixed loop took 20.1 ms, 19.8 - 41.0"). On a shared
// machine every figure moves with it.
std::string Steadiness();

// Sleeps about `ms` while handling this thread's messages, so that programs
// that send messages to the driver's windows never wait for it.
void PumpingSleep(DWORD ms);

// The folder of perfdriver.exe, Quarrow.exe, floor.exe and the handlers.
std::string BinFolder();
// A program of the build's bin folder, by name.
inline std::string Bin(const char* name) { return BinFolder() + "\\" + name; }

// `others`: more programs of the bin folder started in the same rounds;
// `withSettings`: each start finds the full settings file, else none;
// `historyBytes`: the length of each of its history entries (0: short ones);
// `picture`: the file chooses the picture look, else the colour look;
// `suggest`: the file switches suggestions on.
void MeasureStartup(Report& report, int runs, int warmups, const std::vector<std::string>& others,
                    bool withSettings, size_t historyBytes = 0, bool picture = true, bool suggest = false);
void MeasureFootprint(Report& report, int searches, int dialogRounds);
void MeasureResponse(Report& report, int tries);
// Close requests followed to the process's end, Quarrow's and the floors'.
void MeasureExit(Report& report, int runs);

// The steps of a start, as the clocked builds mark them (bar/win/StartupClock.h):
// times in milliseconds since `startMs`, the driver's reading just before
// CreateProcess. Lines not of the mark's form are left out; no file gives no marks.
struct ClockMark {
  std::string step;
  double ms = 0;         // the step ended
  double resumedMs = 0;  // the next step began, the memory read
  double workingSetKb = 0, committedKb = 0;
};
std::vector<ClockMark> ParseClockMarks(const std::string& text, double startMs);
std::vector<ClockMark> ReadClockMarks(const std::string& folder, double startMs);

}  // namespace perf
