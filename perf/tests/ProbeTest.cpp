// The probes the measurements rest on, tried on windows and programs whose
// answer is known: a start that never shows a window fails instead of giving
// a figure, every kind of window is counted, an update region anywhere in a
// window's family is seen, committed memory is told from reserved, the Linux
// process of a program is found only when it is unambiguous, and one clock
// serves every process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "BarHarness.h"
#include "Bench.h"
#include "Probe.h"

namespace {

using perf::Bin;

// A new empty folder for one test.
struct Folder : ScratchFolder {
  Folder() : ScratchFolder("perf-probe-test") {}
};

TEST(Probe, TheFloorStartsShownAndIdleAndEndsOnACloseRequest) {
  Folder folder;
  perf::StartedProgram floor;
  perf::StartTiming timing = floor.Start(Bin("floor.exe"), folder.Path());
  ASSERT_TRUE(timing.ok) << timing.failure;
  EXPECT_GT(timing.inputIdleMs, 0);
  EXPECT_LE(timing.visibleMs, timing.shownMs);
  EXPECT_LE(timing.inputIdleMs, timing.shownMs);
  ASSERT_TRUE(floor.Window());
  EXPECT_TRUE(IsWindowVisible(floor.Window()));
  EXPECT_TRUE(GetDlgItem(floor.Window(), 1000));  // the query box of template 102
  EXPECT_FALSE(perf::PaintPending(floor.Window()));
  EXPECT_TRUE(floor.Close());
}

TEST(Probe, AStartWithoutTheWindowFailsInsteadOfGivingAFigure) {
  Folder folder;
  const struct {
    const char* name;
    std::string exe;
    DWORD timeoutMs;
  } cases[] = {
      {"a program that ends at once", Bin("url_stamp.exe"), 5000},
      {"no such program", Bin("no-such-program.exe"), 5000},
  };
  for (const auto& c : cases) {
    perf::StartedProgram program;
    perf::StartTiming timing = program.Start(c.exe, folder.Path(), c.timeoutMs);
    EXPECT_FALSE(timing.ok) << c.name;
    EXPECT_FALSE(timing.failure.empty()) << c.name;
    EXPECT_EQ(timing.shownMs, 0) << c.name;
  }
}

HWND MakeWindow(HWND parent, DWORD style, const char* className = "STATIC") {
  return CreateWindowExA(0, className, "probe", style, 0, 0, 50, 50, parent, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

TEST(Probe, CountsHiddenTopLevelWindowsAllDescendantsAndMessageOnlyWindows) {
  const DWORD self = GetCurrentProcessId();
  // The system gives a thread's first window an input-method window of its
  // own (and takes it away with the last one): one window made beforehand
  // keeps it there, so that each case adds only its own.
  HWND keeper = MakeWindow(nullptr, WS_POPUP);
  const struct {
    const char* name;
    int added;
    std::function<std::vector<HWND>()> make;
  } cases[] = {
      {"a hidden top-level window", 1, [] { return std::vector<HWND>{MakeWindow(nullptr, WS_POPUP)}; }},
      {"a child and a grandchild", 3,
       [] {
         HWND top = MakeWindow(nullptr, WS_POPUP);
         HWND child = MakeWindow(top, WS_CHILD);
         return std::vector<HWND>{top, child, MakeWindow(child, WS_CHILD)};
       }},
      {"a message-only window", 1, [] { return std::vector<HWND>{MakeWindow(HWND_MESSAGE, 0)}; }},
  };
  for (const auto& c : cases) {
    int before = perf::CountWindows(self);
    std::vector<HWND> made = c.make();
    EXPECT_EQ(perf::CountWindows(self) - before, c.added) << c.name;
    DestroyWindow(made.front());  // the children go with it
    EXPECT_EQ(perf::CountWindows(self), before) << c.name;
  }
  DestroyWindow(keeper);
}

TEST(Probe, PaintPendingSeesTheWindowAndEachDescendant) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  HWND child = MakeWindow(top, WS_CHILD | WS_VISIBLE);
  HWND grandchild = MakeWindow(child, WS_CHILD | WS_VISIBLE);
  UpdateWindow(top);
  RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_FALSE(perf::PaintPending(top));
  for (HWND window : {top, child, grandchild}) {
    InvalidateRect(window, nullptr, TRUE);
    EXPECT_TRUE(perf::PaintPending(top));
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_FALSE(perf::PaintPending(top));
  }
  DestroyWindow(top);
}

TEST(Probe, CommittedPrivateMemoryCountsCommitsButNotReservations) {
  const std::string self = Bin("perf_tests.exe");
  const SIZE_T size = 4 << 20;
  auto committed = [&] { return perf::SampleFootprint(GetCurrentProcessId(), self)->committedPrivateKb; };
  ASSERT_TRUE(perf::SampleFootprint(GetCurrentProcessId(), self));

  double before = committed();
  void* reserved = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_READWRITE);
  EXPECT_LT(committed() - before, 1024) << "a reservation is not private bytes";
  VirtualAlloc(reserved, size, MEM_COMMIT, PAGE_READWRITE);
  EXPECT_GE(committed() - before, 4096) << "a commit is, touched or not";
  VirtualFree(reserved, 0, MEM_RELEASE);
  EXPECT_LT(committed() - before, 1024);
}

TEST(Probe, TheLinuxProcessIsFoundOnlyWhenItIsTheOnlyOne) {
  Folder folder;
  std::string floor = Bin("floor.exe");
  EXPECT_FALSE(perf::AnonymousResidentKb(floor)) << "not running";

  perf::StartedProgram first;
  ASSERT_TRUE(first.Start(floor, folder.Path()).ok);
  std::optional<double> alone = perf::AnonymousResidentKb(floor);
  ASSERT_TRUE(alone) << "Wine shows Linux's /proc as Z:\\proc";
  EXPECT_GT(*alone, 512);  // a running Wine process holds megabytes
  EXPECT_FALSE(perf::AnonymousResidentKb(Bin("no-such-program.exe")));

  perf::StartedProgram second;
  ASSERT_TRUE(second.Start(floor, folder.Path()).ok);
  EXPECT_FALSE(perf::AnonymousResidentKb(floor)) << "two are ambiguous";
}

// A Linux process is followed to its end: it runs while its program runs,
// with its threads named, and not once the program has ended.
TEST(Probe, ALinuxProcessRunsUntilItsProgramEnds) {
  Folder folder;
  std::string exe = Bin("floor-required.exe");
  perf::StartedProgram program;
  ASSERT_TRUE(program.Start(exe, folder.Path()).ok);
  std::optional<int> pid = perf::LinuxProcessOf(exe);
  ASSERT_TRUE(pid) << "Wine shows Linux's /proc as Z:\\proc";
  EXPECT_TRUE(perf::LinuxProcessRuns(*pid));
  std::map<std::string, int> threads = perf::LinuxThreadNames(*pid);
  EXPECT_EQ(threads["floor-required."], 1) << "the main thread, its name cut to 15 characters as Linux keeps it";
  EXPECT_EQ(threads["wine_rpcrt4_ser"], 1) << "the drop target's RPC server";
  EXPECT_TRUE(program.Close());
  // The Linux process outlives the Windows one by a few milliseconds.
  double deadline = perf::NowMs() + 5000;
  while (perf::LinuxProcessRuns(*pid) && perf::NowMs() < deadline) Sleep(1);
  EXPECT_FALSE(perf::LinuxProcessRuns(*pid)) << "ended, or a zombie";
  EXPECT_FALSE(perf::LinuxProcessRuns(0x7ffffff0)) << "no such process";
  EXPECT_TRUE(perf::LinuxThreadNames(0x7ffffff0).empty());
}

// The browser handler's stamp is compared with the driver's clock: it must
// fall between the driver's readings around the handler's run.
TEST(Probe, TheHandlersStampIsOnTheDriversClock) {
  Folder folder;
  std::string record = folder.Path() + "\\stamps.log";
  SetEnvironmentVariableA("QUARROW_RECORD_FILE", record.c_str());
  std::string exe = Bin("url_stamp.exe");
  std::string commandLine = "\"" + exe + "\" \"http://example.com/?q=1\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  double before = perf::NowMs();
  ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process));
  WaitForSingleObject(process.hProcess, 15000);
  double after = perf::NowMs();
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  SetEnvironmentVariableA("QUARROW_RECORD_FILE", nullptr);

  std::string line = ReadFileBytes(record);
  size_t tab = line.find('\t');
  ASSERT_NE(tab, std::string::npos) << line;
  double stamp = perf::CounterToMs(std::atoll(line.substr(0, tab).c_str()));
  EXPECT_GT(stamp, before);
  EXPECT_LT(stamp, after);
  EXPECT_EQ(line.substr(tab + 1), "\"http://example.com/?q=1\"\n");
}

}  // namespace
