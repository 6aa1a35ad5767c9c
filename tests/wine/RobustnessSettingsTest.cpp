// Bad settings files, kept as data in tests/data/bad-settings/cases.txt: each
// starts the bar, which shows what the file holds, searches, exits normally,
// and writes its keys right.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "DialogHarness.h"
#include "TestText.h"
#include "RobustnessHarness.h"
#include "resource.h"

using namespace robust;

namespace {

const char* const kCases = QUARROW_TEST_DATA "/bad-settings/cases.txt";

struct BadSettingsCase {
  std::string name;
  std::map<std::string, std::string> fields;
  bool Has(const std::string& field) const { return fields.count(field) != 0; }
  std::string Field(const std::string& field) const {
    auto found = fields.find(field);
    return found == fields.end() ? std::string() : found->second;
  }
};

// A failure names the case rather than printing its bytes.
void PrintTo(const BadSettingsCase& c, std::ostream* out) { *out << c.name; }

std::vector<BadSettingsCase> LoadCases() {
  std::vector<BadSettingsCase> cases;
  std::ifstream in(kCases, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string field = line.substr(0, colon);
    std::string value = line.substr(colon + 1);
    if (!value.empty() && value[0] == ' ') value.erase(0, 1);
    if (field == "case") {
      cases.push_back({value, {}});
    } else if (!cases.empty()) {
      cases.back().fields[field] = value;
    }
  }
  return cases;
}

// One part of a content: text:, repeat:, random:, utf16:, utf8:. Text here
// is UTF-8; a file's plain text is GBK, as the program writes it.
std::string Bytes(const std::string& part) {
  auto after = [&](size_t n) { return part.substr(n); };
  if (part.rfind("text:", 0) == 0) return Gbk(UnescapeCaseText(after(5)));
  if (part.rfind("repeat:", 0) == 0) {
    size_t colon = part.find(':', 7);
    int count = std::stoi(part.substr(7, colon - 7));
    std::string unit = Gbk(UnescapeCaseText(part.substr(colon + 1))), out;
    out.reserve(unit.size() * count);
    for (int i = 0; i < count; ++i) out += unit;
    return out;
  }
  if (part.rfind("random:", 0) == 0) {
    size_t colon = part.find(':', 7);
    unsigned state = static_cast<unsigned>(std::stoul(part.substr(7, colon - 7)));
    int count = std::stoi(part.substr(colon + 1));
    std::string out;
    for (int i = 0; i < count; ++i) {
      state = state * 1103515245u + 12345u;
      out += static_cast<char>(state >> 16);
    }
    return out;
  }
  if (part.rfind("utf16:", 0) == 0) return Utf16File(UnescapeCaseText(after(6)));
  if (part.rfind("utf8:", 0) == 0) return "\xEF\xBB\xBF" + UnescapeCaseText(after(5));
  return Gbk(part);  // plain text
}

// A text field (history, engine0) as the bar shows it: plain text, or
// repeat:N:T.
std::string Text(const std::string& part) {
  if (part.rfind("repeat:", 0) == 0) {
    size_t colon = part.find(':', 7);
    int count = std::stoi(part.substr(7, colon - 7));
    std::string unit = UnescapeCaseText(part.substr(colon + 1)), out;
    for (int i = 0; i < count; ++i) out += unit;
    return out;
  }
  return part;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at - start));
    if (at == std::string::npos) return parts;
    start = at + separator.size();
  }
}

std::string Content(const std::string& recipe) {
  std::string out;
  for (const std::string& part : Split(recipe, " + ")) out += Bytes(part);
  return out;
}


class RobustBadSettings : public ::testing::TestWithParam<BadSettingsCase> {};

TEST_P(RobustBadSettings, StartsSearchesExitsAndWritesItsKeysRight) {
  const BadSettingsCase& c = GetParam();
  const DWORD limit = 1000 * (c.Has("seconds") ? std::stoul(c.Field("seconds")) : 20);
  const std::string content = Content(c.Field("content"));
  DWORD start = GetTickCount();  // the file written, the bar started and shown
  BarProcess bar(content);
  ASSERT_TRUE(bar.Started());
  const DWORD startTook = GetTickCount() - start;
  EXPECT_LT(startTook, limit) << "start";
  ASSERT_TRUE(Responsive(bar));

  std::vector<std::string> loaded = bar.QueryList();
  if (c.Field("history") != "*") {
    std::vector<std::string> expected;
    for (const std::string& entry : Split(c.Field("history"), " | ")) expected.push_back(Text(entry));
    EXPECT_EQ(loaded, expected);
  }
  if (c.Has("engine0")) {
    EXPECT_EQ(bar.Text(IDC_SEARCH), Text(c.Field("engine0")));
  }
  if (c.Has("look")) {
    const std::string look = c.Field("look");
    EXPECT_TRUE(BarShowsLook(bar.Bar(), look == "colour" ? 0 : std::stoi(look)));
  }

  bar.SetQuery("probe");
  start = GetTickCount();
  bar.Click(IDC_SEARCH);
  EXPECT_EQ(bar.WaitForLaunches(1).size(), 1u);
  const DWORD searchTook = GetTickCount() - start;

  if (c.Has("engine-rows")) {
    const int rows = std::stoi(c.Field("engine-rows"));
    start = GetTickCount();
    HWND dialog = OpenDialog(bar, ID_EDIT_ENGINES, "搜索引擎设置");
    ASSERT_NE(dialog, nullptr);
    RemoteListView list(bar.ProcessHandle(), GetDlgItem(dialog, IDC_ENGINE_LIST));
    EXPECT_EQ(list.Count(), rows);
    EXPECT_TRUE(DialogDriver(bar, dialog).End(IDOK, limit));
    EXPECT_TRUE(Responsive(bar, limit));
    EXPECT_LT(GetTickCount() - start, limit) << "engine dialog";
    EXPECT_EQ(ReadKey(bar.SettingsPath(), "Engine", "Number"), std::to_string(rows));
    if (rows > 0) {
      std::string first = c.Has("engine0") ? Text(c.Field("engine0")) : "百度一下";
      EXPECT_EQ(ReadKey(bar.SettingsPath(), "Engine", "E0"), first);
      EXPECT_TRUE(ReadKey(bar.SettingsPath(), "Engine", "S" + std::to_string(rows - 1)).has_value());
    }
  }

  start = GetTickCount();
  ASSERT_EQ(bar.Exit(limit), 0u) << "exit";
  // Reported, not asserted against a tight bound: the host's load varies.
  printf("[ robust   ] %s: start %lu ms, search %lu ms, exit %lu ms\n", c.name.c_str(), startTook, searchTook,
         GetTickCount() - start);

  const std::string path = bar.SettingsPath();
  std::vector<std::string> history{"probe"};
  history.insert(history.end(), loaded.begin(), loaded.end());
  for (int i = 0; i < 100; ++i) {
    std::string expected = i < static_cast<int>(history.size()) ? history[i] : "";
    std::string key = "H";
    key += std::to_string(i);
    EXPECT_EQ(ReadKey(path, "History", key), expected) << key;
  }
  std::vector<std::string> options = Split(c.Has("options") ? c.Field("options") : "0 1 1", " ");
  const char* optionKeys[] = {"UseIE", "DoubleClickRight", "UseImg"};
  for (int i = 0; i < 3; ++i) {
    if (options[i] != "*") {
      EXPECT_EQ(ReadKey(path, "Setting", optionKeys[i]), options[i]) << optionKeys[i];
    }
  }
  if (c.Has("img")) {
    EXPECT_EQ(ReadKey(path, "Setting", "ImgNumber"), c.Field("img"));
  }
  if (c.Field("encoding") == "utf16") {
    EXPECT_EQ(bar.SettingsBytes().substr(0, 2), "\xFF\xFE");
  }
  if (c.Field("encoding") == "utf8") {
    EXPECT_EQ(bar.SettingsBytes().substr(0, 3), "\xEF\xBB\xBF");
  }
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
}

std::string CaseName(const ::testing::TestParamInfo<BadSettingsCase>& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, RobustBadSettings, ::testing::ValuesIn(LoadCases()), CaseName);

TEST(RobustBadSettingsCases, AreThere) { EXPECT_GE(LoadCases().size(), 20u) << kCases; }

}  // namespace
