// Exit: a close request to Quarrow.exe and to each floor, followed to the
// end: when the window is no longer visible, when it is no longer a window,
// when the process has ended. For Quarrow, whether Quarrow.ini already held
// what the bar saves the moment its window was no longer visible.
#include <map>
#include <utility>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"

namespace perf {
namespace {

struct Exiter {
  Exiter(std::string label, std::string exe) : label(std::move(label)), exe(std::move(exe)) {}
  std::string label, exe;
  RoundSamples hidden, destroyed, ended, linuxEnded;
  std::map<std::string, int> lingering;  // threads seen after the window went, in how many closes
};

std::string Names(const std::map<std::string, int>& threads) {
  std::string text;
  for (const auto& [name, count] : threads) text += (text.empty() ? "" : ", ") + Format("%s x%d", name.c_str(), count);
  return text.empty() ? "-" : text;
}

}  // namespace

void MeasureExit(Report& report, int runs) {
  std::string bin = BinFolder();
  std::vector<Exiter> programs = {{"Quarrow.exe", bin + "\\Quarrow.exe"},
                                  {"floor.exe", bin + "\\floor.exe"},
                                  {"floor-imports.exe", bin + "\\floor-imports.exe"},
                                  {"floor-required.exe", bin + "\\floor-required.exe"},
                                  {"floor-shows.exe", bin + "\\floor-shows.exe"}};
  report.Heading(Format("Exit (%d rounds; each program started in turn, left idle 0.5 s, then sent WM_CLOSE)", runs));
  int saveChecked = 0, savedBeforeHidden = 0;
  for (int round = 0; round < runs; ++round) {
    for (size_t k = 0; k < programs.size(); ++k) {
      Exiter& program = programs[(round + k) % programs.size()];
      std::string folder = NewTempFolder("perf-exit");
      std::string settings = folder + "\\Quarrow.ini";
      const std::string before = SettingsTheSaveChanges();
      WriteFileBytes(settings, before);
      StartedProgram started;
      StartTiming start = started.Start(program.exe, folder);
      if (!start.ok) {
        report.Failure(program.label + " start: " + start.failure);
      } else {
        PumpingSleep(500);
        ExitTiming exit = started.CloseWatched(settings);
        if (!exit.ok) {
          report.Failure(program.label + " exit: " + exit.failure);
        } else {
          program.hidden[round] = exit.hiddenMs;
          program.destroyed[round] = exit.destroyedMs;
          program.ended[round] = exit.endedMs;
          if (exit.linuxEndedMs) program.linuxEnded[round] = *exit.linuxEndedMs;
          for (const auto& [name, count] : exit.threadsBeforeEnd) program.lingering[name] += count > 0;
          if (round == 0) {
            report.Line(Format("%s, first close: threads after the window went: %s; when the process had ended: %s",
                               program.label.c_str(), Names(exit.threadsBeforeEnd).c_str(),
                               Names(exit.threadsAtEnd).c_str()));
          }
          if (&program == &programs[0]) {
            std::string after = ReadFileBytes(settings);
            if (after == before) {
              report.Failure("Quarrow.exe's save changed nothing: the check below cannot tell the order");
            } else {
              ++saveChecked;
              if (exit.fileAtHidden && *exit.fileAtHidden == after) ++savedBeforeHidden;
            }
          }
        }
      }
      RemoveFolder(folder);
      PumpingSleep(250);
    }
  }
  report.Line("From the posted WM_CLOSE, milliseconds (median, q1 - q3):");
  report.Line("");
  report.Line("| program | window hidden | window destroyed | process ended | ended, q1 - q3 | Linux process gone |"
              " q1 - q3 |");
  report.Line("|---|---|---|---|---|---|---|");
  for (const Exiter& p : programs) {
    Summary ended = Summarize(Values(p.ended)), linux = Summarize(Values(p.linuxEnded));
    report.Line(Format("| %s | %.1f | %.1f | %.0f | %.0f - %.0f | %.0f (n=%zu) | %.0f - %.0f |", p.label.c_str(),
                       Median(Values(p.hidden)), Median(Values(p.destroyed)), ended.median, ended.q1, ended.q3,
                       linux.median, linux.count, linux.q1, linux.q3));
    std::string name = p.label.substr(0, p.label.find('.'));
    for (char& c : name) c = c == '-' ? '_' : c;
    report.Result("exit_" + name + "_hidden_median", Median(Values(p.hidden)), "ms");
    report.Result("exit_" + name + "_ended_median", ended.median, "ms");
    if (linux.count) report.Result("exit_" + name + "_linux_process_gone_median", linux.median, "ms");
  }
  for (const Exiter& p : programs) {
    report.Line(Format("%s: threads seen after its window went (in how many closes): %s", p.label.c_str(),
                       Names(p.lingering).c_str()));
  }
  report.Line(Format("Quarrow.ini held the bar's saved content the moment the window was hidden: %d of %d closes",
                     savedBeforeHidden, saveChecked));
  report.Result("exit_settings_on_disk_when_hidden", savedBeforeHidden, "closes", Format("=%d", saveChecked),
                saveChecked > 0 && savedBeforeHidden == saveChecked);
}

}  // namespace perf
