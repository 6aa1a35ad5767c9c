// The performance driver: starts Quarrow.exe (and the floor program) under
// the system it runs on and measures start-up, footprint and response from
// outside, as tools/perf.sh runs it:
//   perfdriver [startup] [footprint] [response] [--runs N] [--tries N] ...
// With no measurement named it makes all three. "--also other.exe" starts
// another program of the same folder in the same rounds (a change tried out).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Bench.h"


int main(int argc, char** argv) {
  bool startup = false, footprint = false, response = false;
  std::vector<std::string> others;
  int runs = 40, tries = 50, searches = 200, dialogRounds = 10, warmups = 2;
  // A child of the start-up measurement: one step, timed, in a fresh process.
  if (argc == 5 && std::string(argv[1]) == "--step" && std::string(argv[3]) == "--out") {
    return perf::RunStep(argv[2], argv[4]);
  }
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto number = [&](int& value) {
      if (i + 1 < argc) value = atoi(argv[++i]);
    };
    if (arg == "startup") startup = true;
    else if (arg == "footprint") footprint = true;
    else if (arg == "response") response = true;
    else if (arg == "--runs") number(runs);
    else if (arg == "--tries") number(tries);
    else if (arg == "--searches") number(searches);
    else if (arg == "--dialog-rounds") number(dialogRounds);
    else if (arg == "--warmups") number(warmups);
    else if (arg == "--also" && i + 1 < argc) others.push_back(argv[++i]);
    else {
      fprintf(stderr,
              "usage: perfdriver [startup] [footprint] [response] [--runs N] [--tries N]\n"
              "                  [--searches N] [--dialog-rounds N] [--warmups N] [--also other.exe]\n");
      return 2;
    }
  }
  if (!startup && !footprint && !response) startup = footprint = response = true;

  perf::Report report;
  if (startup) perf::MeasureStartup(report, runs, warmups, others);
  if (footprint) perf::MeasureFootprint(report, searches, dialogRounds);
  if (response) perf::MeasureResponse(report, tries);
  if (report.AnyFailed()) return 2;
  return report.AnyMissed() ? 1 : 0;
}
