#include <gtest/gtest.h>

#include "settings/SettingsFile.h"

namespace {

// Records the calls; the real file behaviour is tested with IniFile.
class RecordingStore : public ProfileStore {
 public:
  std::string value;
  std::vector<std::string> written;
  std::string Read(const std::string&, std::string_view, std::string_view,
                   std::string_view) override { return value; }
  void Write(const std::string&, std::string_view, std::string_view key,
             std::string_view v) override { written.push_back(std::string(key) + "=" + std::string(v)); }
  // As a GBK file of ASCII text cuts.
  std::string ReadableCut(const std::string&, std::string_view v) override { return std::string(v.substr(0, 1023)); }
};

}  // namespace

TEST(SettingsFile, PathIsDirectorySeparatorAndName) {
  RecordingStore store;
  EXPECT_EQ(SettingsFile("C:\\work", store, '\\').Path(), "C:\\work\\Quarrow.ini");
  // A drive root keeps its own separator and gets one more, which the system accepts.
  EXPECT_EQ(SettingsFile("C:\\", store, '\\').Path(), "C:\\\\Quarrow.ini");
}

TEST(SettingsFile, WritesStoreOnlyWhatAReaderSeesThenTheQuotes) {
  RecordingStore store;
  SettingsFile file("/tmp", store);
  file.WriteString("S", "a", std::string(5000, 'x'));
  file.WriteString("S", "b", "\"" + std::string(2000, 'q') + "\"");
  file.WriteString("S", "c", "\"" + std::string(1021, 'q') + "\"");
  EXPECT_EQ(store.written, (std::vector<std::string>{"a=" + std::string(1023, 'x'), "b=\"" + std::string(1022, 'q'),
                                                     "c=\"\"" + std::string(1021, 'q') + "\"\""}));
}

TEST(SettingsFile, ValueToWriteKeepsLinesAndQuotes) {
  struct Case { std::string value, stored; } cases[] = {
      {"plain", "plain"},
      {"a\r\nb", "a  b"},
      {"x\n[Engine]\nS0=evil", "x [Engine] S0=evil"},
      {"\"exact phrase\"", "\"\"exact phrase\"\""},
      {"'single'", "\"'single'\""},
      {"  \"blanks\"  ", "\"\"blanks\"\""},
      {"\"", "\""},
      {"\"half", "\"half"},
      {"'mixed\"", "'mixed\""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsFile::ValueToWrite(c.value), c.stored) << c.value;
}
