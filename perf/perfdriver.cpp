// The performance driver: starts Quarrow.exe (and the floor program) under
// the system it runs on and measures start-up, footprint and response from
// outside, as tools/perf.sh runs it:
//   perfdriver [startup] [startup-empty] [startup-suggest] [footprint] [response] [exit] [--runs N] ...
// With no measurement named it makes all six ("startup-empty": the start-up
// with no settings file; "startup-suggest": with the full one that switches
// suggestions on). "--also other.exe" starts
// another program of the same folder in the same rounds (a change tried out);
// "--history-bytes N" makes each history entry of the full settings file N
// bytes long for "startup" (the bar keeps up to 1023), and "--colour-look"
// has its file choose the colour look instead of the picture.
// "write-settings FOLDER" only writes that full settings file into FOLDER
// (tools/perf-mappings.sh starts the programs on it itself).
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"

int main(int argc, char** argv) {
  bool startup = false, startupEmpty = false, startupSuggest = false, footprint = false, response = false,
       exits = false;
  bool picture = true;
  std::vector<std::string> others;
  std::string settingsFolder;
  int runs = 40, tries = 50, searches = 200, dialogRounds = 10, warmups = 2, exitRuns = 10, historyBytes = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto number = [&](int& value) {
      if (i + 1 < argc) value = atoi(argv[++i]);
    };
    if (arg == "startup") startup = true;
    else if (arg == "startup-empty") startupEmpty = true;
    else if (arg == "startup-suggest") startupSuggest = true;
    else if (arg == "footprint") footprint = true;
    else if (arg == "response") response = true;
    else if (arg == "exit") exits = true;
    else if (arg == "--runs") number(runs);
    else if (arg == "--tries") number(tries);
    else if (arg == "--searches") number(searches);
    else if (arg == "--dialog-rounds") number(dialogRounds);
    else if (arg == "--warmups") number(warmups);
    else if (arg == "--exit-runs") number(exitRuns);
    else if (arg == "--history-bytes") number(historyBytes);
    else if (arg == "--colour-look") picture = false;
    else if (arg == "--also" && i + 1 < argc) others.push_back(argv[++i]);
    else if (arg == "write-settings" && i + 1 < argc) settingsFolder = argv[++i];
    else {
      fprintf(stderr,
              "usage: perfdriver [startup] [startup-empty] [startup-suggest] [footprint] [response] [exit]\n"
              "                  [--runs N] [--tries N]\n"
              "                  [--searches N] [--dialog-rounds N] [--warmups N] [--exit-runs N]\n"
              "                  [--history-bytes N] [--colour-look] [--also other.exe]\n"
              "       perfdriver write-settings FOLDER [--history-bytes N] [--colour-look]\n");
      return 2;
    }
  }
  if (!settingsFolder.empty()) {
    WriteFileBytes(settingsFolder + "\\Quarrow.ini",
                   perf::MeasurementSettings(static_cast<size_t>(std::max(historyBytes, 0)), picture));
    return 0;
  }
  if (!startup && !startupEmpty && !startupSuggest && !footprint && !response && !exits) {
    startup = startupEmpty = startupSuggest = footprint = response = exits = true;
  }

  perf::Report report;
  if (startup) {
    perf::MeasureStartup(report, runs, warmups, others, true, static_cast<size_t>(std::max(historyBytes, 0)), picture);
  }
  if (startupEmpty) perf::MeasureStartup(report, runs, warmups, others, false);
  if (startupSuggest) perf::MeasureStartup(report, runs, warmups, others, true, 0, true, true);
  if (footprint) perf::MeasureFootprint(report, searches, dialogRounds);
  if (response) perf::MeasureResponse(report, tries);
  if (exits) perf::MeasureExit(report, exitRuns);
  if (report.AnyFailed()) return 2;
  return report.AnyMissed() ? 1 : 0;
}
