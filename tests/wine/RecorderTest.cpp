// The stand-in browser itself: every start must leave its line, also while
// another start is still writing or a test is reading the record file, and
// the line holds its arguments exactly, in any script.
#include <gtest/gtest.h>

#include "BarHarness.h"

namespace {

struct Holder {
  const char* who;
  DWORD access, share;
  bool recorderWaits;  // until the holder lets go
  const char* url;     // what the recorder is started with, and writes as UTF-8
};

const Holder kHolders[] = {
    {"another recorder writing", FILE_APPEND_DATA, FILE_SHARE_READ, true, "http://a.example/"},
    {"a test reading", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false,
     "http://a.example/?q=中文 한국어 🍜 𠮷"},
};

TEST(Recorder, LeavesItsLineWhileTheRecordFileIsHeld) {
  for (const Holder& holder : kHolders) {
    SCOPED_TRACE(holder.who);
    std::string folder = NewTempFolder("recorder");
    std::string record = folder + "\\launches.log";
    SetEnvironmentVariableW(L"QUARROW_RECORD_FILE", Wide(record).c_str());
    HANDLE held = CreateFileW(Wide(record).c_str(), holder.access, holder.share, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    PROCESS_INFORMATION process{};
    const std::string quoted = "\"" + std::string(holder.url) + "\"";
    ASSERT_TRUE(StartProgram("recorder.exe", quoted, CREATE_NO_WINDOW, nullptr, process));
    const std::string line = "recorder.exe\t" + quoted + "\n";
    if (holder.recorderWaits) {
      EXPECT_EQ(WaitForSingleObject(process.hProcess, 500), WAIT_TIMEOUT);
      EXPECT_EQ(ReadFileBytes(record), "");
      CloseHandle(held);
      EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    } else {
      EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
      EXPECT_EQ(ReadFileBytes(record), line);
      CloseHandle(held);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadFileBytes(record), line);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    RemoveFolder(folder);
  }
}

}  // namespace
