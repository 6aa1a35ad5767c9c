// Response: the hotkey (Ctrl+Alt+S through the system's input queue while a
// window of the driver has the focus) until the hidden bar is on screen, and
// Enter in the query box until the URL reaches the browser handler
// (url_stamp.exe, which reads the performance counter first thing).
#include <cstdlib>

#include "Bench.h"
#include "BarHarness.h"
#include "DesktopHarness.h"
#include "MeasurementSettings.h"
#include "Probe.h"
#include "resource.h"

namespace perf {
namespace {

void SetHandler(const std::string& protocol, const std::string& command) {
  SetRegistryText(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + protocol + "\\shell\\open\\command", command);
}

void UseHandler(const std::string& exe) {
  std::string command = BinFolder() + "\\" + exe;
  command = "\"" + command + "\" \"%1\"";
  SetHandler("http", command);
  SetHandler("https", command);
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> inputs;
  for (auto [key, up] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Waits, handling the driver's messages, until `done` or `ms` have passed;
// the time it held, or a negative number.
template <typename Done>
double WaitUntil(double start, Done done, double ms = 5000) {
  for (;;) {
    if (done()) return NowMs() - start;
    if (NowMs() - start > ms) return -1;
    PumpingSleep(1);
  }
}

// A point of the bar's own surface, clear of its controls, on the screen.
POINT SurfacePoint(HWND bar) {
  POINT point{3, 3};
  ClientToScreen(bar, &point);
  return point;
}

struct Record {
  long long counter = 0;
  std::string arguments;
};

std::vector<Record> Records(const std::string& file) {
  std::vector<Record> records;
  for (const std::string& line : RecordedLaunches(file)) {  // whole lines only
    size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    records.push_back({std::atoll(line.substr(0, tab).c_str()), line.substr(tab + 1)});
  }
  return records;
}

void MeasureHotkey(Report& report, const BarProcess& bar, int tries) {
  HWND window = bar.Bar();
  std::vector<double> visible, shown, onScreen;
  bar.Command(ID_SHOW_BAR);
  PumpingSleep(300);
  POINT surface = SurfacePoint(window);
  COLORREF barPixel = desktop_test::ScreenPixel(surface.x, surface.y);
  int samePixel = 0;
  for (int i = 0; i < tries; ++i) {
    bar.Command(ID_HIDE_BAR);
    desktop_test::FocusTestWindow();
    PumpingSleep(200);
    if (IsWindowVisible(window)) {
      report.Failure("hotkey: the bar did not hide");
      return;
    }
    // The pixel judge only works where the bar's pixel differs from what is under it.
    bool pixelUsable = desktop_test::ScreenPixel(surface.x, surface.y) != barPixel;
    samePixel += !pixelUsable;

    // One loop watches for all three, so that each is seen as early as the
    // polling allows (about a millisecond).
    double start = NowMs();
    SendKeys({{VK_CONTROL, false}, {VK_MENU, false}, {'S', false}, {'S', true}, {VK_MENU, true}, {VK_CONTROL, true}});
    double seen = -1, painted = -1, pixel = -1;
    WaitUntil(start, [&] {
      double now = NowMs() - start;
      if (seen < 0 && IsWindowVisible(window)) seen = now;
      DWORD_PTR answer = 0;
      if (seen >= 0 && painted < 0 && !PaintPending(window) &&
          SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) {
        painted = NowMs() - start;
      }
      if (pixelUsable && pixel < 0 && desktop_test::ScreenPixel(surface.x, surface.y) == barPixel) {
        pixel = NowMs() - start;
      }
      return seen >= 0 && painted >= 0 && (pixel >= 0 || !pixelUsable);
    });
    if (seen < 0 || painted < 0) {
      report.Failure(Format("hotkey: try %d, the bar never became %s", i, seen < 0 ? "visible" : "painted and idle"));
      return;
    }
    visible.push_back(seen);
    shown.push_back(painted);
    if (pixel >= 0) onScreen.push_back(pixel);
  }
  desktop_test::HideTestWindow();

  report.Line(SummaryRow("hotkey -> bar visible (WS_VISIBLE)", Summarize(visible)));
  report.Line(SummaryRow("hotkey -> bar painted and idle", Summarize(shown)));
  report.Line(SummaryRow("hotkey -> bar's pixel on the screen", Summarize(onScreen)));
  if (samePixel) report.Line(Format("(%d tries without the pixel judge: the pixel under the bar was the same)", samePixel));
  report.Result("response_hotkey_visible_median", Median(visible), "ms");
  report.Result("response_hotkey_painted_median", Median(shown), "ms");
  if (!onScreen.empty()) report.Result("response_hotkey_on_screen_median", Median(onScreen), "ms");
}

// What the handler's own start costs: the same program started directly,
// from CreateProcess to its stamp; negative when it could not be had.
double HandlerAlone(const std::string& recordFile) {
  SetEnvironmentVariableA("QUARROW_RECORD_FILE", recordFile.c_str());
  std::string handler = BinFolder() + "\\url_stamp.exe";
  std::string commandLine = "\"" + handler + "\" \"http://direct.example.com/\"";
  size_t expected = Records(recordFile).size() + 1;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  double start = NowMs();
  if (!CreateProcessA(handler.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, 15000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  std::vector<Record> records = Records(recordFile);
  return records.size() < expected ? -1 : CounterToMs(records[expected - 1].counter) - start;
}

// Each try is followed by a direct start of the handler, so that the two are
// taken moments apart and their difference is the bar's (and the shell's) share.
void MeasureEnter(Report& report, const BarProcess& bar, int tries) {
  HWND window = bar.Bar();
  HWND queryBox = bar.Item(IDC_QUERY);
  std::string recordFile = bar.Folder() + "\\launches.log";
  std::vector<double> reached, handlerAlone, difference;
  for (int i = 0; i < tries; ++i) {
    std::string query = MeasuredQuery(5000 + i);
    // The key goes wherever the input focus is: make sure it is in the
    // query box of the bar in front, or the try measures nothing.
    bool focused = false;
    for (int attempt = 0; attempt < 5 && !focused; ++attempt) {
      bar.Command(ID_SHOW_BAR);
      bar.FocusQueryBox();
      PumpingSleep(50);
      HWND focus = FocusOf(window);
      focused = GetForegroundWindow() == window && (focus == queryBox || IsChild(queryBox, focus));
    }
    if (!focused) {
      report.Failure(Format("enter: try %d, the query box could not be given the focus", i));
      return;
    }
    bar.SetQuery(query);
    PumpingSleep(100);
    size_t expected = Records(recordFile).size() + 1;
    double start = NowMs();
    SendKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    if (WaitUntil(start, [&] { return Records(recordFile).size() >= expected; }, 15000) < 0) {
      report.Failure(Format("enter: try %d never reached the browser handler (query box: \"%s\")", i,
                            bar.Text(IDC_QUERY).c_str()));
      return;
    }
    Record record = Records(recordFile)[expected - 1];
    double ms = CounterToMs(record.counter) - start;
    if (ms <= 0 || record.arguments.find(PercentEncoded(query)) == std::string::npos) {
      report.Failure(Format("enter: try %d recorded something else (%s)", i, record.arguments.c_str()));
      return;
    }
    PumpingSleep(150);
    double alone = HandlerAlone(recordFile);
    if (alone <= 0) {
      report.Failure("enter: the handler started directly recorded nothing");
      return;
    }
    reached.push_back(ms);
    handlerAlone.push_back(alone);
    difference.push_back(ms - alone);
    PumpingSleep(150);
  }
  report.Line(SummaryRow("Enter -> URL at the browser handler", Summarize(reached)));
  report.Line(SummaryRow("(the handler alone: CreateProcess -> its main)", Summarize(handlerAlone)));
  report.Line(SummaryRow("(the difference, try by try: the bar's and the shell's share)", Summarize(difference)));
  report.Result("response_enter_to_url_median", Median(reached), "ms");
  report.Result("response_handler_start_median", Median(handlerAlone), "ms");
  report.Result("response_enter_minus_handler_median", Median(difference), "ms");
}

}  // namespace

void MeasureResponse(Report& report, int tries) {
  report.Heading(Format("Response (%d tries each)", tries));
  BarProcess bar(MeasurementSettings());  // registers the harness's recorder first
  if (!bar.Started()) {
    report.Failure("response: Quarrow did not start");
    return;
  }
  UseHandler("url_stamp.exe");
  report.Line(SummaryHeader());
  MeasureHotkey(report, bar, tries);
  MeasureEnter(report, bar, tries);
  UseHandler("recorder.exe");  // as the tests of this prefix expect it
  bar.Exit();
}

}  // namespace perf
