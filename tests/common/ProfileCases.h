// The profile comparison's cases (tests/data/profile, format in its README):
// read from their files, and the checks of bytes both suites share. Portable:
// the native suite plays them against the program's own implementation, the
// Wine suite against the system's profile functions too.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/FileEncoding.h"
#include "settings/ProfileStore.h"
#include "settings/SettingsFile.h"

// What one platform is expected to give; `wine` differs from `windows` only
// in a case marked "differs".
struct Expected {
  std::string windows, wine;
  std::optional<std::string> ours;  // where we mend what both platforms give
};

struct Operation {
  enum Kind { kRead, kWrite, kSettingsRead, kSettingsWrite } kind;
  std::string section, key, text;  // text: the default or the value written
  Expected expected;                // for reads
  int line = 0;
};

struct Case {
  std::string name;
  std::optional<std::string> start;  // no file at all when empty
  bool noDirectory = false, readOnly = false;
  std::vector<Operation> operations;
  std::optional<std::optional<std::string>> resultWindows, resultWine;  // nullopt inside: no file
  std::optional<std::optional<std::string>> resultOurs;  // a mended result: only ours is held to it
  std::string differs;  // why Wine departs from Windows here
  std::string mend;     // why ours departs from both
  bool oursFollowWine = false;  // IniFile deliberately does as Wine does ("ours: wine")
  bool wide = false;            // through the wide functions, on a UTF-16 file
};

// The case in `file`; throws std::runtime_error with the reason when it is
// not well formed. Words of a case for the ANSI functions are the program's
// text of their GBK bytes, through `gbk`.
Case ParseCase(const std::filesystem::path& file, const GbkCodec& gbk);

// The *.case files of `folder`, sorted.
std::vector<std::filesystem::path> CaseFiles(const std::string& folder);

// What ours must read and leave: Windows' result, Wine's where the case says
// we follow Wine, and a mended one where the case gives it.
std::string OursExpected(const Case& c, const Expected& e);
const std::optional<std::optional<std::string>>& OursResult(const Case& c);

// Applies the case's operations through `store` (raw reads and writes) and
// `settings` (the program's), to the file `settings` names; what was read.
std::vector<std::string> ApplyOperations(const Case& c, ProfileStore& store, const SettingsFile& settings);

// Whether the case can run as the program saves: every operation in one
// save, which reads the file once and writes it once. Only for cases whose
// writes are the program's own (through SettingsFile) on a file that can be
// written.
bool RunsAsOneSave(const Case& c);

// The case's name as a test's name.
std::string CaseName(const ::testing::TestParamInfo<std::filesystem::path>& info);

// Bytes as readable text; a long text as its length, head and tail.
std::string Show(const std::string& bytes);
// Compares bytes exactly; shows them readably, with the first difference.
::testing::AssertionResult SameBytes(const std::optional<std::string>& actual,
                                     const std::optional<std::string>& expected);
