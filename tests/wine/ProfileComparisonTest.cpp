// The same reads and writes, applied to two copies of the same file: one
// through the system's profile functions (the ANSI ones in code page 936, or
// the wide ones for a case marked "wide"), one through IniFile. Every value
// read and the resulting bytes must agree. The cases are files in
// tests/data/profile (the format is described in its README).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "ProfileApiStore.h"
#include "ProfileCases.h"
#include "base/Text.h"
#include "base/Unicode.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "settings/win/ReadSettings.h"
#include "settings/win/SettingsPath.h"
#include "settings/win/SystemGbk.h"
#include "settings/win/WholeFileSave.h"

namespace fs = std::filesystem;

namespace {

const char* const kCaseFolder = QUARROW_TEST_DATA "/profile";

// ---- Running a case -------------------------------------------------------

std::optional<std::string> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

struct Outcome {
  std::vector<std::string> reads;
  std::optional<std::string> bytes;
};

// A copy of the case's file in `folder`; its settings file.
SettingsFile PutStartFile(const Case& c, ProfileStore& store, const std::string& folder) {
  std::error_code ec;
  fs::remove_all(folder, ec);
  std::string dir = c.noDirectory ? folder + "\\missing" : folder;
  fs::create_directories(folder);
  SettingsFile settings(dir, store, '\\');
  const std::string& path = settings.Path();
  if (c.start && !c.noDirectory) {
    std::ofstream(path, std::ios::binary).write(c.start->data(), c.start->size());
    if (c.readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  return settings;
}

Outcome Finish(Outcome outcome, const std::string& path, const std::string& folder) {
  outcome.bytes = FileBytes(path);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::error_code ec;
  fs::remove_all(folder, ec);
  return outcome;
}

// Applies the case's operations through `store` to a copy of its file in `folder`.
Outcome RunCase(const Case& c, ProfileStore& store, const std::string& folder) {
  SettingsFile settings = PutStartFile(c, store, folder);
  const std::string& path = settings.Path();
  Outcome outcome;
  outcome.reads = ApplyOperations(c, store, settings);
  return Finish(std::move(outcome), path, folder);
}

Outcome RunAsOneSave(const Case& c, const std::string& folder) {
  ProfileApiStore unused;
  SettingsFile settings = PutStartFile(c, unused, folder);
  Outcome outcome;
  const SaveResult saved = SaveWholeFile(settings.Path(), [&](const SettingsFile& file) {
    for (const Operation& op : c.operations) {
      if (op.kind == Operation::kSettingsWrite) {
        file.WriteString(op.section, op.key, op.text);
      } else {
        outcome.reads.push_back(file.ReadString(op.section, op.key, op.text));
      }
    }
  });
  EXPECT_FALSE(saved.Failed()) << "system error " << saved.systemError;
  return Finish(std::move(outcome), settings.Path(), folder);
}

class ProfileComparison : public ::testing::TestWithParam<fs::path> {};

TEST_P(ProfileComparison, SameReadsAndBytes) {
  Case c;
  try {
    c = ParseCase(GetParam(), SystemGbk());
  } catch (const std::exception& e) {
    FAIL() << GetParam().string() << ": " << e.what();
  }
  SCOPED_TRACE(GetParam().filename().string() + (c.differs.empty() ? "" : " (differs:" + c.differs + ")"));
  ASSERT_EQ(GetACP(), 936u) << "the ANSI profile functions must run in code page 936";

  std::string temp = TempFolder();
  ProfileApiStore system(c.wide ? ProfileApiStore::Functions::kWide : ProfileApiStore::Functions::kAnsi);
  IniFile portable(SystemGbk());
  Outcome wine = RunCase(c, system, temp + "quarrow-profile-wine");
  Outcome ours = RunCase(c, portable, temp + "quarrow-profile-ini");
  const bool oneSave = RunsAsOneSave(c);
  Outcome program = oneSave ? RunAsOneSave(c, temp + "quarrow-profile-save") : Outcome{};

  // What our implementation must give: Windows' result, or Wine's where the
  // case says we follow Wine.
  auto oursExpected = [&](const Expected& e) { return OursExpected(c, e); };
  const auto& resultOurs = OursResult(c);

  if (oneSave) {

    ASSERT_EQ(program.reads.size(), wine.reads.size()) << "the save did not run";

  }
  size_t r = 0;
  for (const Operation& op : c.operations) {
    if (op.kind != Operation::kRead && op.kind != Operation::kSettingsRead) continue;
    SCOPED_TRACE("read at line " + std::to_string(op.line) + ": [" + op.section + "] " + op.key);
    EXPECT_TRUE(SameBytes(wine.reads[r], op.expected.wine)) << "read through Wine";
    EXPECT_TRUE(SameBytes(ours.reads[r], oursExpected(op.expected))) << "read through IniFile";
    if (oneSave) {
      EXPECT_TRUE(SameBytes(program.reads[r], oursExpected(op.expected))) << "read in one save";
    }
    ++r;
  }

  if (c.resultWine) {
    EXPECT_TRUE(SameBytes(wine.bytes, *c.resultWine)) << "Wine's file";
  }
  if (resultOurs) {
    EXPECT_TRUE(SameBytes(ours.bytes, *resultOurs)) << "IniFile's file";
    if (oneSave) {
      EXPECT_TRUE(SameBytes(program.bytes, *resultOurs)) << "the file after one save";
    }
  }
  if (c.differs.empty() && !c.resultOurs) {
    EXPECT_TRUE(SameBytes(ours.bytes, wine.bytes)) << "IniFile's file against Wine's";
    if (oneSave) {
      EXPECT_TRUE(SameBytes(program.bytes, wine.bytes)) << "the file after one save against Wine's";
    }
  }
  // Reading alone leaves the file as it was.
  bool writes = false;
  for (const Operation& op : c.operations) {
    writes |= op.kind == Operation::kWrite || op.kind == Operation::kSettingsWrite;
  }
  if (!writes) {
    EXPECT_TRUE(SameBytes(wine.bytes, c.start)) << "Wine's file after reading only";
    EXPECT_TRUE(SameBytes(ours.bytes, c.start)) << "IniFile's file after reading only";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileComparison, ::testing::ValuesIn(CaseFiles(kCaseFolder)), CaseName);

TEST(ProfileComparisonCases, AreThere) {
  EXPECT_GE(CaseFiles(kCaseFolder).size(), 40u) << "case folder " << kCaseFolder;
}

}  // namespace

// ---- The program's own settings file ---------------------------------------

namespace {

// Runs in `dir` and goes back to where it was.
class InDirectory {
 public:
  explicit InDirectory(const std::string& dir) : m_old(CurrentDirectory()) {
    m_entered = SetCurrentDirectoryA(dir.c_str()) != 0;
  }
  ~InDirectory() { SetCurrentDirectoryA(m_old.c_str()); }
  bool Entered() const { return m_entered; }

 private:
  std::string m_old;
  bool m_entered = false;
};

}  // namespace

TEST(CurrentDirectorySettingsFile, IsQuarrowIniInTheCurrentDirectory) {
  std::string dir = TempFolder() + "quarrow-cwd";
  CreateDirectoryA(dir.c_str(), nullptr);
  {
    InDirectory in(dir);
    ASSERT_TRUE(in.Entered());
    SettingsFile file = CurrentDirectorySettingsFile();
    EXPECT_TRUE(EqualsIgnoreCase(file.Path(), dir + "\\Quarrow.ini")) << file.Path();
    file.WriteString("History", "H0", "百度");
    EXPECT_EQ(file.ReadString("History", "H0", ""), "百度");
  }
  EXPECT_EQ(FileBytes(dir + "\\Quarrow.ini").value_or("(no file)"), "[History]\r\nH0=\xB0\xD9\xB6\xC8\r\n");  // GBK
  DeleteFileA((dir + "\\Quarrow.ini").c_str());
  RemoveDirectoryA(dir.c_str());
}

// A Windows user's folder may be named in any script: the program's own
// reading and saving find the file there, and what it saves reads back.
TEST(CurrentDirectorySettingsFile, AFolderNamedInAnyScriptHoldsTheFile) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"Użytkownik 한국어 𠮷";
  CreateDirectoryW(dir.c_str(), nullptr);
  wchar_t old[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
  const std::string path = CurrentSettingsPath();
  const SaveResult saved = SaveWholeFile(path, [](const SettingsFile& file) {
    file.WriteString("History", "H0", "百度");
    file.WriteString("History", "H1", "한국어");
  });
  EXPECT_EQ(saved.status, SaveStatus::kDone) << "system error " << saved.systemError;
  SettingsSnapshot snapshot = ReadSettingsSnapshot(path);
  EXPECT_EQ(snapshot.File().ReadString("History", "H0", "lost"), "百度");
  EXPECT_EQ(snapshot.File().ReadString("History", "H1", "lost"), "한국어");
  SetCurrentDirectoryW(old);
  const std::wstring file = dir + L"\\Quarrow.ini";
  EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  DeleteFileW(file.c_str());
  RemoveDirectoryW(dir.c_str());
}

TEST(CurrentDirectorySettingsFile, AtADriveRootTheDoubledSeparatorNamesTheRoot) {
  InDirectory in("C:\\");
  ASSERT_TRUE(in.Entered());
  SettingsFile file = CurrentDirectorySettingsFile();
  EXPECT_EQ(file.Path(), "C:\\\\Quarrow.ini");
  file.WriteString("Setting", "UseIE", "1");
  EXPECT_EQ(FileBytes("C:\\Quarrow.ini").value_or("(no file)"), "[Setting]\r\nUseIE=1\r\n");
  EXPECT_EQ(file.ReadString("Setting", "UseIE", "0"), "1");
  DeleteFileA("C:\\Quarrow.ini");
}

// Makes nested folders under the temporary folder, entering one at a time
// (an ANSI call takes at most MAX_PATH characters at once), until the current
// directory is `length` bytes long. Returns the folders made, the deepest last;
// the current directory is the deepest if the system would enter it.
std::vector<std::string> EnterDirectoryOfLength(size_t length, bool& entered) {
  std::string dir = TempFolder() + "quarrow-long";
  CreateDirectoryA(dir.c_str(), nullptr);
  std::vector<std::string> made{dir};
  entered = SetCurrentDirectoryA(dir.c_str()) != 0;
  for (char letter = 'a'; entered && dir.size() < length; ++letter) {
    std::string name(std::min<size_t>(200, length - dir.size() - 1), letter);
    CreateDirectoryA(name.c_str(), nullptr);
    entered = SetCurrentDirectoryA(name.c_str()) != 0;
    dir += "\\" + name;
    made.push_back(dir);
  }
  return made;
}

// The files of the current directory, named relative to it (the directory
// itself may be too long to name) and in UTF-16 (a name of garbage may have
// no ANSI spelling).
std::vector<std::wstring> FilesHere() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(L"*", &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

// `entered`: the current directory is the deepest folder. The way out is then
// the way in, one folder at a time by its short name, each emptied first: an
// ANSI call cannot name a folder beyond MAX_PATH whole.
void RemoveDirectories(const std::vector<std::string>& made, bool entered) {
  for (size_t i = made.size() - 1; entered && i > 0; --i) {
    for (const std::wstring& name : FilesHere()) DeleteFileW(name.c_str());
    SetCurrentDirectoryA("..");
    RemoveDirectoryA(made[i].substr(made[i].rfind('\\') + 1).c_str());
  }
  SetCurrentDirectoryA(TempFolder().c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) {
    DeleteFileA((*it + "\\Quarrow.ini").c_str());
    RemoveDirectoryA(it->c_str());
  }
}

// The full name of the file is then longer than MAX_PATH, which the profile
// functions may refuse (Wine does): then the write is lost, as any failed
// write is, but it must not land in another folder.
void ExpectWrittenThereOrNowhere(const SettingsFile& file, const std::string& dir) {
  file.WriteString("History", "H0", "long");
  std::optional<std::string> bytes = FileBytes(dir + "\\Quarrow.ini");
  if (bytes) {
    EXPECT_EQ(*bytes, "[History]\r\nH0=long\r\n");
    EXPECT_EQ(file.ReadString("History", "H0", "lost"), "long");
  } else {
    EXPECT_EQ(file.ReadString("History", "H0", "lost"), "lost");
    // Wine 8 names the file through a MAX_PATH buffer whose failure it does
    // not check, and may write the value beside it under a name of garbage:
    // the system's doing, which the program cannot see. Said, then removed.
    for (const std::wstring& name : FilesHere()) {
      printf("[ profile  ] the system wrote the value to a file named \"");
      for (wchar_t c : name) c < 0x80 ? printf("%c", char(c)) : printf("\\u%04X", unsigned(c));
      printf("\" instead\n");
    }
  }
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_FALSE(FileBytes(std::string(windows) + "\\Quarrow.ini"));
  EXPECT_FALSE(FileBytes(TempFolder() + "Quarrow.ini"));
  EXPECT_FALSE(FileBytes(TempFolder() + "quarrow-long\\Quarrow.ini"));
}

TEST(CurrentDirectorySettingsFile, ADirectoryLongerThanTheFirstBufferIsKeptWhole) {
  // 258 bytes: more than the 256-byte buffer holds, less than MAX_PATH.
  std::string old = CurrentDirectory();
  bool entered = false;
  std::vector<std::string> made = EnterDirectoryOfLength(258, entered);
  const std::string& dir = made.back();
  if (entered) {
    EXPECT_EQ(dir.size(), 258u);
    EXPECT_TRUE(EqualsIgnoreCase(CurrentDirectory(), dir)) << CurrentDirectory();
    SettingsFile file = CurrentDirectorySettingsFile();
    EXPECT_TRUE(EqualsIgnoreCase(file.Path(), dir + "\\Quarrow.ini")) << file.Path();
    ExpectWrittenThereOrNowhere(file, dir);
  }
  RemoveDirectories(made, entered);
  SetCurrentDirectoryA(old.c_str());
  EXPECT_TRUE(entered) << "could not enter " << dir;
}

TEST(CurrentDirectorySettingsFile, ADirectoryBeyondMaxPathStillNamesTheCurrentDirectory) {
  // Wine enters a directory of 330 bytes but GetCurrentDirectoryA then fails
  // (it converts through a MAX_PATH buffer). The settings file is then named
  // relative to the current directory, ".\\Quarrow.ini", which the profile
  // functions take as a path (a bare name would send them to the Windows folder).
  std::string old = CurrentDirectory();
  bool entered = false;
  std::vector<std::string> made = EnterDirectoryOfLength(330, entered);
  if (entered) {
    std::string dir = CurrentDirectory();
    SettingsFile file = CurrentDirectorySettingsFile();
    if (dir.empty()) {
      EXPECT_EQ(file.Path(), ".\\Quarrow.ini");
    } else {
      EXPECT_TRUE(EqualsIgnoreCase(file.Path(), made.back() + "\\Quarrow.ini")) << file.Path();
    }
    ExpectWrittenThereOrNowhere(file, made.back());
  }
  RemoveDirectories(made, entered);
  SetCurrentDirectoryA(old.c_str());
  if (!entered) GTEST_SKIP() << "the system would not enter a directory of 330 bytes";
}
