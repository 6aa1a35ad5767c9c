// Where Quarrow's start-up goes beyond the floor's: the steps of the bar's
// initialisation that the floor does not make, each timed as the first such
// call in a fresh process (perfdriver --step NAME --out FILE), so that what
// the platform does once per process is counted as at a real start. The
// loading of the extra system libraries is the floor-imports program's share.
#include <cstdio>
#include <cstdlib>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"
#include "bar/MenuContents.h"
#include "bar/win/TextDropTarget.h"
#include "search/QueryHistory.h"
#include "settings/win/ProfileApiStore.h"

#include <ole2.h>
#include <shellapi.h>

namespace perf {
namespace {

const std::vector<StartupStep> kSteps = {
    {"reads", "settings reads: menus, options, 100 history keys (GetPrivateProfileStringA)", true},
    {"ole", "OleInitialize", true},
    {"dragdrop", "RegisterDragDrop (after OleInitialize)", true},
    {"tray", "Shell_NotifyIconA(NIM_ADD)", true},
    {"history-keys", "the 100 history keys alone (GetPrivateProfileStringA each)", false},
    {"history-section", "the History section in one GetPrivateProfileSectionA call", false},
};

HWND PlainWindow() {
  return CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "perf step", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The step, timed; a negative number when it failed. Every step is preceded
// by what the bar has done by then in any case: a window made and gone, so
// that the display driver is loaded and connected (Quarrow loads it with its
// libraries, the floor when it makes its dialog) and is not counted here.
double TimeStep(const std::string& name) {
  DestroyWindow(PlainWindow());
  if (name == "reads") {
    ProfileApiStore store;
    SettingsFile file(CurrentDirectory(), store, '\\');
    double start = NowMs();
    SelectionMenus menus = ReadSelectionMenus(file);
    QueryHistory history;
    history.Load(file);
    double ms = NowMs() - start;
    bool right = menus.engines.names[0] == "引擎0" && history.Count() == static_cast<size_t>(kHistoryEntries);
    return right ? ms : -1;
  }
  if (name == "history-keys" || name == "history-section") {
    std::string path = CurrentDirectory() + "\\Quarrow.ini";
    static char buffer[1 << 16];
    double start = NowMs();
    DWORD got = 0;
    if (name == "history-keys") {
      for (int n = 0; n < kHistoryEntries; ++n) {
        char key[16];
        snprintf(key, sizeof key, "H%d", n);
        got += GetPrivateProfileStringA("History", key, "", buffer, 1024, path.c_str());
      }
    } else {
      got = GetPrivateProfileSectionA("History", buffer, sizeof buffer, path.c_str());
    }
    double ms = NowMs() - start;
    return got > 0 ? ms : -1;
  }
  if (name == "ole") {
    double start = NowMs();
    HRESULT result = OleInitialize(nullptr);
    double ms = NowMs() - start;
    return SUCCEEDED(result) ? ms : -1;
  }
  if (name == "dragdrop") {
    if (FAILED(OleInitialize(nullptr))) return -1;
    HWND window = PlainWindow();
    TextDropTarget target([](const std::string&) {});
    double start = NowMs();
    HRESULT result = RegisterDragDrop(window, &target);
    double ms = NowMs() - start;
    RevokeDragDrop(window);
    DestroyWindow(window);
    return SUCCEEDED(result) ? ms : -1;
  }
  if (name == "tray") {
    HWND window = PlainWindow();
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the record the bar hands over
    data.hWnd = window;
    data.uID = 100;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP + 1;
    data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(data.szTip, "perf", sizeof data.szTip);
    double start = NowMs();
    BOOL added = Shell_NotifyIconA(NIM_ADD, &data);
    double ms = NowMs() - start;
    Shell_NotifyIconA(NIM_DELETE, &data);
    DestroyWindow(window);
    return added ? ms : -1;
  }
  return -1;
}

}  // namespace

const std::vector<StartupStep>& StartupSteps() { return kSteps; }

double TimeStepInFreshProcess(const std::string& name, const std::string& folder) {
  std::string out = folder + "\\step.txt";
  DeleteFileA(out.c_str());
  std::string exe = BinFolder() + "\\perfdriver.exe";
  std::string commandLine = "\"" + exe + "\" --step " + name + " --out \"" + out + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  std::string text = ReadFileBytes(out);
  return text.empty() ? -1 : std::atof(text.c_str());
}

int RunStep(const std::string& name, const std::string& outFile) {
  double ms = TimeStep(name);
  if (ms < 0) return 1;
  WriteFileBytes(outFile, Format("%.4f\n", ms));
  return 0;
}

}  // namespace perf
