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
};

}  // namespace

TEST(SettingsFile, PathIsDirectorySeparatorAndName) {
  RecordingStore store;
  EXPECT_EQ(SettingsFile("C:\\work", store, '\\').Path(), "C:\\work\\Quarrow.ini");
  // A drive root keeps its own separator and gets one more, which the system accepts.
  EXPECT_EQ(SettingsFile("C:\\", store, '\\').Path(), "C:\\\\Quarrow.ini");
}

TEST(SettingsFile, ReadsAreCutTo1023Bytes) {
  RecordingStore store;
  store.value = std::string(5000, 'x');
  SettingsFile file("/tmp", store);
  EXPECT_EQ(file.ReadString("S", "k", "").size(), 1023u);
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
      {std::string(5000, 'x'), std::string(1023, 'x')},
      {"\"" + std::string(2000, 'q') + "\"", "\"" + std::string(1022, 'q')},
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsFile::ValueToWrite(c.value), c.stored) << c.value;
}
