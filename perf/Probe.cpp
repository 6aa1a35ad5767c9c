#include "Probe.h"

#include <psapi.h>

#include <cstdlib>
#include <vector>

#include "DesktopHarness.h"
#include "CommittedBytes.h"

namespace perf {
namespace {

double CounterFrequency() {
  static const double frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return frequency;
}

struct WindowCount {
  DWORD processId;
  int count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<WindowCount*>(param)->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
  auto* counter = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != counter->processId) return TRUE;
  ++counter->count;
  EnumChildWindows(window, CountChild, param);  // all descendants
  return TRUE;
}

BOOL CALLBACK ChildNeedsPaint(HWND child, LPARAM param) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

// Files of /proc report no size: read until the end.
std::string ReadSmallFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

}  // namespace

double CounterToMs(long long counter) { return static_cast<double>(counter) * 1000.0 / CounterFrequency(); }

double NowMs() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return CounterToMs(now.QuadPart);
}

std::optional<int> LinuxProcessOf(const std::string& exePath) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<int> matches;
  do {
    std::string name = entry.cFileName;
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string commandLine = ReadSmallFile("Z:\\proc\\" + name + "\\cmdline");
    std::string first = commandLine.substr(0, commandLine.find('\0'));
    if (lstrcmpiA(first.c_str(), exePath.c_str()) == 0) matches.push_back(std::atoi(name.c_str()));
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  if (matches.size() != 1) return std::nullopt;
  return matches[0];
}

std::optional<double> AnonymousResidentKb(const std::string& exePath) {
  std::optional<int> pid = LinuxProcessOf(exePath);
  if (!pid) return std::nullopt;
  std::string status = ReadSmallFile("Z:\\proc\\" + std::to_string(*pid) + "\\status");
  size_t at = status.find("RssAnon:");
  if (at == std::string::npos) return std::nullopt;
  return std::strtod(status.c_str() + at + 8, nullptr);
}

bool LinuxProcessRuns(int pid) {
  std::string status = ReadSmallFile("Z:\\proc\\" + std::to_string(pid) + "\\status");
  size_t at = status.find("State:");
  if (at == std::string::npos) return false;  // gone
  at = status.find_first_not_of(" \t", at + 6);
  return at != std::string::npos && status[at] != 'Z';  // a zombie has ended; only its parent has not looked
}

std::map<std::string, int> LinuxThreadNames(int pid) {
  std::map<std::string, int> names;
  std::string folder = "Z:\\proc\\" + std::to_string(pid) + "\\task";
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = entry.cFileName;
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string comm = ReadSmallFile(folder + "\\" + name + "\\comm");
    while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\r')) comm.pop_back();
    ++names[comm.empty() ? "?" : comm];
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

std::optional<Footprint> SampleFootprint(DWORD processId, const std::string& exePath) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return std::nullopt;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  std::optional<Footprint> result;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    Footprint f;
    f.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    f.privateUsageKb = static_cast<double>(memory.PrivateUsage) / 1024.0;
    f.committedPrivateKb = static_cast<double>(CommittedPrivateBytes(process)) / 1024.0;
    f.anonymousResidentKb = AnonymousResidentKb(exePath);
    f.gdiObjects = desktop_test::GdiObjectCount(process);
    f.windows = CountWindows(processId);
    result = f;
  }
  CloseHandle(process);
  return result;
}

std::map<std::string, double> LoadedModules(DWORD processId) {
  std::map<std::string, double> modules;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return modules;
  HMODULE handles[512];
  DWORD bytes = 0;
  if (EnumProcessModules(process, handles, sizeof handles, &bytes)) {
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
      char name[MAX_PATH] = "";
      MODULEINFO info{};
      if (!GetModuleBaseNameA(process, handles[i], name, sizeof name)) continue;
      GetModuleInformation(process, handles[i], &info, sizeof info);
      CharLowerA(name);
      modules[name] = static_cast<double>(info.SizeOfImage) / 1024.0;
    }
  }
  CloseHandle(process);
  return modules;
}

int CountWindows(DWORD processId) {
  WindowCount counter{processId, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counter));
  // Message-only windows are not top-level windows of the desktop.
  for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
    CountTopLevel(window, reinterpret_cast<LPARAM>(&counter));
  }
  return counter.count;
}

HWND FindTemplateWindow(DWORD processId) {
  return FindBar(processId);  // the floor's dialog has the query box's id too
}

bool PaintPending(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return true;
  bool pending = false;
  EnumChildWindows(window, ChildNeedsPaint, reinterpret_cast<LPARAM>(&pending));
  return pending;
}

StartedProgram::~StartedProgram() { Close(); }

StartTiming StartedProgram::Start(const std::string& exe, const std::string& folder, DWORD timeoutMs) {
  StartTiming timing;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exe + "\"";

  m_exe = exe;
  double start = NowMs();
  timing.startMs = start;
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &m_process)) {
    timing.failure = "CreateProcess failed (" + std::to_string(GetLastError()) + ")";
    return timing;
  }
  double deadline = start + timeoutMs;
  if (WaitForInputIdle(m_process.hProcess, timeoutMs) != 0) {
    timing.failure = "WaitForInputIdle did not return 0";
    return timing;
  }
  timing.inputIdleMs = NowMs() - start;

  for (;;) {
    double now = NowMs();
    if (now > deadline) {
      timing.failure = m_window ? (IsWindowVisible(m_window) ? "never painted and idle" : "never visible")
                                : "no template window";
      return timing;
    }
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0) {
      timing.failure = "the program ended";
      return timing;
    }
    if (!m_window) m_window = FindTemplateWindow(m_process.dwProcessId);
    if (m_window && IsWindowVisible(m_window)) {
      if (!timing.visibleMs) timing.visibleMs = now - start;
      DWORD_PTR answer = 0;
      if (!PaintPending(m_window) &&
          SendMessageTimeoutA(m_window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &answer)) {
        timing.shownMs = NowMs() - start;
        timing.ok = true;
        return timing;
      }
    }
    Sleep(1);
  }
}

bool StartedProgram::Close(DWORD timeoutMs) {
  if (!m_process.hProcess) return true;
  bool ended = true;
  if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    HWND window = m_window ? m_window : FindTemplateWindow(m_process.dwProcessId);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_process.hProcess, window ? timeoutMs : 0) != WAIT_OBJECT_0) {
      ended = false;
      TerminateProcess(m_process.hProcess, 1);
      WaitForSingleObject(m_process.hProcess, 5000);
    }
  }
  CloseHandle(m_process.hProcess);
  CloseHandle(m_process.hThread);
  m_process = {};
  m_window = nullptr;
  return ended;
}

ExitTiming StartedProgram::CloseWatched(const std::string& watchedFile, DWORD timeoutMs) {
  ExitTiming timing;
  HWND window = m_window ? m_window : FindTemplateWindow(m_process.dwProcessId);
  if (!m_process.hProcess || !window) {
    timing.failure = "no program or no window to close";
    return timing;
  }
  auto readWatched = [&]() -> std::optional<std::string> {
    if (GetFileAttributesA(watchedFile.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return ReadSmallFile(watchedFile);
  };
  bool hidden = false, destroyed = false;
  std::optional<int> linuxPid = LinuxProcessOf(m_exe);
  double start = NowMs();
  PostMessageA(window, WM_CLOSE, 0, 0);
  for (;;) {
    bool ended = WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0;
    double now = NowMs() - start;
    // A window that went with its process is seen gone at the end at the latest.
    if (!hidden && (ended || !IsWindowVisible(window))) {
      timing.fileAtHidden = readWatched();  // first: the moment matters
      timing.hiddenMs = now;
      hidden = true;
    }
    if (!destroyed && (ended || !IsWindow(window))) {
      timing.destroyedMs = now;
      destroyed = true;
    }
    if (ended) {
      timing.endedMs = now;
      timing.ok = true;
      break;
    }
    // Once the window is gone: what the process still runs.
    if (linuxPid && destroyed) timing.threadsBeforeEnd = LinuxThreadNames(*linuxPid);
    if (now > timeoutMs) {
      timing.failure = "did not end within " + std::to_string(timeoutMs) + " ms of a close request";
      break;
    }
    Sleep(1);
  }
  // Under Wine: how long the Linux process outlives the Windows one.
  if (timing.ok && linuxPid) {
    timing.threadsAtEnd = LinuxThreadNames(*linuxPid);
    for (;;) {
      double now = NowMs() - start;
      if (!LinuxProcessRuns(*linuxPid)) {
        timing.linuxEndedMs = now;
        break;
      }
      if (now > timeoutMs) break;
      Sleep(1);
    }
  }
  Close(0);  // ends it by force if it still runs, and lets the handles go
  return timing;
}

}  // namespace perf
