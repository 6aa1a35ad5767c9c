// Looking at another program from outside: the time, its memory, its GDI
// objects and windows, and one timed start from process creation until its
// bar (template 102) is shown, painted and idle.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace perf {

// Milliseconds on the performance counter (one clock for the whole session).
double NowMs();
double CounterToMs(long long counter);

struct Footprint {
  double workingSetKb = 0;
  double privateUsageKb = 0;  // PrivateUsage of PROCESS_MEMORY_COUNTERS_EX (Wine: 0)
  // Private bytes as Windows counts them: committed private memory, summed
  // over the process's address space with VirtualQueryEx.
  double committedPrivateKb = 0;
  // Under Wine: the resident anonymous memory of the Linux process that runs
  // the program (RssAnon in /proc/<pid>/status), which also holds what Wine
  // allocates outside the Windows address space (GDI bitmaps among it).
  std::optional<double> anonymousResidentKb;
  std::optional<int> gdiObjects;
  int windows = 0;  // the USER objects that can be counted from outside
};

// Read through a handle opened with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ
// only; empty when the process cannot be opened or its memory not read.
// `exePath` names the program's file, to find its Linux process under Wine.
std::optional<Footprint> SampleFootprint(DWORD processId, const std::string& exePath);

// Under Wine (which shows the Linux root as drive Z:), the RssAnon of the one
// Linux process whose command line starts with `exePath`; empty when there is
// no /proc, or not exactly one such process.
std::optional<double> AnonymousResidentKb(const std::string& exePath);

// Under Wine: the Linux process id of the one process whose command line
// starts with `exePath` (empty when none or several); whether a Linux process
// still runs (a zombie does not); and the names of its threads, with how many
// of each.
std::optional<int> LinuxProcessOf(const std::string& exePath);
bool LinuxProcessRuns(int pid);
std::map<std::string, int> LinuxThreadNames(int pid);

// The libraries loaded in the process, by lower-case file name, with the
// size of each image in KB; empty when the process cannot be read.
std::map<std::string, double> LoadedModules(DWORD processId);

// Every window of the process: top-level ones (shown or not), all their
// descendants, and message-only windows.
int CountWindows(DWORD processId);

// The process's unowned top-level dialog that holds the query box (control
// 1000 of template 102): the bar, or the floor's copy of it.
HWND FindTemplateWindow(DWORD processId);

// Whether the window or one of its descendants still has something to paint.
bool PaintPending(HWND window);

// One start, timed from just before CreateProcess. "Shown and idle" is the
// first moment when all of these hold, checked in this order:
//   WaitForInputIdle has returned;
//   the template window exists and is visible;
//   neither it nor any of its controls has an update region left (painted);
//   a WM_NULL sent to it has been answered (its thread waits for input).
struct StartTiming {
  bool ok = false;
  std::string failure;
  double startMs = 0;      // NowMs() just before CreateProcess
  double inputIdleMs = 0;  // WaitForInputIdle returned
  double visibleMs = 0;    // first seen visible
  double shownMs = 0;      // all of the above: the figure
};

// One close request (WM_CLOSE) followed to the end, times in milliseconds
// since it was posted: the window no longer visible, no longer a window, the
// process ended. `fileAtHidden` holds the watched file's bytes as they were
// the moment the window was first seen hidden (empty when it did not exist).
// Under Wine also when the Linux process ended, and its threads at the last
// look before the Windows process ended and at the moment it had.
struct ExitTiming {
  bool ok = false;
  std::string failure;
  double hiddenMs = 0, destroyedMs = 0, endedMs = 0;
  std::optional<double> linuxEndedMs;
  std::optional<std::string> fileAtHidden;
  std::map<std::string, int> threadsBeforeEnd, threadsAtEnd;
};

class StartedProgram {
 public:
  StartedProgram() = default;
  ~StartedProgram();  // closes it if it still runs
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  StartTiming Start(const std::string& exe, const std::string& folder, DWORD timeoutMs = 15000);
  HWND Window() const { return m_window; }
  DWORD ProcessId() const { return m_process.dwProcessId; }
  // A close request (WM_CLOSE), as the user's; ends it by force after
  // `timeoutMs`. True when it ended by itself.
  bool Close(DWORD timeoutMs = 10000);
  // A close request watched closely (polled about every millisecond); ends
  // the program by force when it has not ended after `timeoutMs`.
  ExitTiming CloseWatched(const std::string& watchedFile, DWORD timeoutMs = 15000);

 private:
  PROCESS_INFORMATION m_process{};
  HWND m_window = nullptr;
  std::string m_exe;
};

}  // namespace perf
