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
//   RESULT <name> <value> <unit> <target or -> <met|missed|->
class Report {
 public:
  void Heading(const std::string& text);
  void Line(const std::string& text);
  // A figure with an upper bound; `met` says whether it holds.
  void Result(const std::string& name, double value, const std::string& unit,
              const std::string& target = "-", int met = -1);
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

// `others`: more programs of the bin folder started in the same rounds.
void MeasureStartup(Report& report, int runs, int warmups, const std::vector<std::string>& others);
void MeasureFootprint(Report& report, int searches, int dialogRounds);
void MeasureResponse(Report& report, int tries);

// The steps of the bar's start-up that the floor does not make (and two ways
// of reading the history for comparison), each timed as the first such call
// in a fresh process started in `folder`, which holds the settings file.
// RunStep is that process's side. Negative when it could not be timed.
struct StartupStep {
  std::string name, description;
  bool madeByTheBar;  // else a way the bar could go instead, timed for comparison
};
const std::vector<StartupStep>& StartupSteps();
double TimeStepInFreshProcess(const std::string& name, const std::string& folder);
int RunStep(const std::string& name, const std::string& outFile);

}  // namespace perf
