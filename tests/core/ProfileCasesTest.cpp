// The profile comparison's cases, played natively against the program's own
// implementation: IniFile key by key, and the whole file in one save where
// the case's writes are the program's. A fault in the portable code shows
// here in seconds; the Wine suite holds the same cases to the system.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "IconvGbk.h"
#include "ProfileCases.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSnapshot.h"

namespace fs = std::filesystem;

namespace {

const IconvGbk kGbk;
const std::string kCaseFolder = QUARROW_TEST_DATA "/profile";

struct Outcome {
  std::vector<std::string> reads;
  std::optional<std::string> bytes;
};

std::optional<std::string> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The case's operations through IniFile on a copy of its file.
Outcome RunKeyByKey(const Case& c, const fs::path& folder) {
  fs::create_directories(folder);
  const fs::path dir = c.noDirectory ? folder / "missing" : folder;
  IniFile ini(kGbk);
  SettingsFile settings(dir.string(), ini);
  const fs::path path = settings.Path();
  if (c.start && !c.noDirectory) {
    std::ofstream(path, std::ios::binary).write(c.start->data(), static_cast<std::streamsize>(c.start->size()));
    if (c.readOnly) chmod(path.c_str(), 0444);
  }
  Outcome outcome;
  outcome.reads = ApplyOperations(c, ini, settings);
  outcome.bytes = FileBytes(path);
  return outcome;
}

Outcome RunAsOneSave(const Case& c) {
  Outcome outcome;
  std::optional<std::string> saved = SaveInMemory("Quarrow.ini", c.start.value_or(""), kGbk, [&](const SettingsFile& file) {
    for (const Operation& op : c.operations) {
      if (op.kind == Operation::kSettingsWrite) {
        file.WriteString(op.section, op.key, op.text);
      } else {
        outcome.reads.push_back(file.ReadString(op.section, op.key, op.text));
      }
    }
  });
  outcome.bytes = saved ? saved : c.start;
  return outcome;
}

class ProfileCases : public ::testing::TestWithParam<fs::path> {};

TEST_P(ProfileCases, OursReadAndLeaveWhatTheCaseSays) {
  Case c;
  try {
    c = ParseCase(GetParam(), kGbk);
  } catch (const std::exception& e) {
    FAIL() << GetParam().string() << ": " << e.what();
  }
  SCOPED_TRACE(GetParam().filename().string());
  const fs::path folder = fs::temp_directory_path() / ("quarrow-case-" + std::to_string(std::random_device{}()));
  std::vector<Outcome> outcomes{RunKeyByKey(c, folder)};
  std::error_code ec;
  fs::remove_all(folder, ec);
  if (RunsAsOneSave(c)) outcomes.push_back(RunAsOneSave(c));

  for (const Outcome& outcome : outcomes) {
    SCOPED_TRACE(&outcome == &outcomes[0] ? "key by key" : "in one save");
    size_t r = 0;
    for (const Operation& op : c.operations) {
      if (op.kind != Operation::kRead && op.kind != Operation::kSettingsRead) continue;
      ASSERT_LT(r, outcome.reads.size());
      EXPECT_TRUE(SameBytes(outcome.reads[r++], OursExpected(c, op.expected)))
          << "read at line " << op.line << ": [" << op.section << "] " << op.key;
    }
    if (OursResult(c)) {
      EXPECT_TRUE(SameBytes(outcome.bytes, *OursResult(c))) << "the file";
    }
    bool writes = false;
    for (const Operation& op : c.operations) writes |= op.kind == Operation::kWrite || op.kind == Operation::kSettingsWrite;
    if (!writes) {
      EXPECT_TRUE(SameBytes(outcome.bytes, c.start)) << "reading alone leaves the file";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileCases, ::testing::ValuesIn(CaseFiles(kCaseFolder)), CaseName);

}  // namespace
