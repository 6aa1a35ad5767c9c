// What the measurements share: the report, text formatting, folders and
// files, a message-handling sleep, and the steadiness probe.
#include "Bench.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Probe.h"

namespace perf {

void Report::Heading(const std::string& text) { printf("\n## %s\n\n", text.c_str()); fflush(stdout); }

void Report::Line(const std::string& text) { printf("%s\n", text.c_str()); fflush(stdout); }

void Report::Result(const std::string& name, double value, const std::string& unit,
                    const std::string& target, int met) {
  const char* verdict = met < 0 ? "-" : met ? "met" : "missed";
  if (met == 0) m_missed = true;
  printf("RESULT %s %.3f %s %s %s\n", name.c_str(), value, unit.c_str(), target.c_str(), verdict);
  fflush(stdout);
}

void Report::Moonshot(const std::string& name, double value, const std::string& unit, const std::string& target,
                      bool reached) {
  printf("RESULT %s %.3f %s %s %s\n", name.c_str(), value, unit.c_str(), target.c_str(),
         reached ? "reached" : "not-reached");
  fflush(stdout);
}

void Report::Failure(const std::string& what) {
  m_failed = true;
  printf("FAILED %s\n", what.c_str());
  fflush(stdout);
}

std::string Format(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

std::string SummaryHeader() {
  return "| | n | median | q1 - q3 | min - max | mean |\n|---|---|---|---|---|---|";
}

std::string SummaryRow(const std::string& label, const Summary& s) {
  return Format("| %s | %zu | %.1f ms | %.1f - %.1f | %.1f - %.1f | %.1f |", label.c_str(), s.count,
                s.median, s.q1, s.q3, s.min, s.max, s.mean);
}

std::string Steadiness() {
  std::vector<double> samples;
  for (int i = 0; i < 10; ++i) {
    double start = NowMs();
    volatile unsigned value = 0;
    for (unsigned n = 0; n < 20000000; ++n) value = value + n;
    samples.push_back(NowMs() - start);
    Sleep(20);
  }
  Summary s = Summarize(samples);
  return Format("(Steadiness: a fixed loop of arithmetic took %.1f ms median, %.1f - %.1f, over 10 tries.)", s.median,
                s.min, s.max);
}

void PumpingSleep(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

std::string BinFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace perf
