#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "settings/EngineCatalogue.h"
#include "settings/Keys.h"

namespace {

const std::vector<EngineEntry> kExpectedDefaults = {
    {"百度一下", "http://www.baidu.com/s?wd="},
    {"Google谷歌", "http://www.google.com/search?q="},
    {"迅雷狗狗", "http://www.gougou.com/search?search="},
    {"Google图片", "http://images.google.com/images?hl=zh-CN&q="},
    {"电驴资源", "http://www.verycd.com/search/folders/"},
    {"百度Mp3", "http://mp3.baidu.com/m?ct=134217728&word="},
    {"Google地图", "http://maps.google.com/?client=aff-cs-worldbrowser&q="},
    {"优酷视频", "http://so.youku.com/search_video/q_"},
    {"搜狗Sogou", "http://www.sogou.com/sogou?query="},
    {"爱词霸", "http://www.iciba.com/search?s="},
};

EngineCatalogue Catalogue(std::initializer_list<const char*> names) {
  EngineCatalogue catalogue;
  for (const char* name : names) catalogue.AddEntry(name, "http://x/?q=");
  return catalogue;
}

std::vector<std::string> Names(const EngineCatalogue& catalogue) {
  std::vector<std::string> names;
  for (const EngineEntry& entry : catalogue.Entries()) names.push_back(entry.name);
  return names;
}

}  // namespace

TEST(EngineCatalogue, FileWithoutEngineSectionGivesTenBaiduEntries) {
  ScratchSettings settings;
  settings.WriteRaw("; no sections here\r\nE0=not in a section\r\n");
  EngineCatalogue catalogue;
  catalogue.LoadForEditing(settings.File());
  EXPECT_EQ(catalogue.Entries(), std::vector<EngineEntry>(10, kExpectedDefaults[0]));
}

TEST(EngineCatalogue, RestoreDefaultsPutsTheTableFirst) {
  EngineCatalogue empty;
  empty.RestoreDefaults();
  EXPECT_EQ(empty.Entries(), kExpectedDefaults);

  EngineCatalogue three = Catalogue({"a", "b", "c"});
  three.RestoreDefaults();
  std::vector<EngineEntry> expected = kExpectedDefaults;
  for (const char* name : {"a", "b", "c"}) expected.push_back({name, "http://x/?q="});
  EXPECT_EQ(three.Entries(), expected);
}

TEST(EngineCatalogue, SavingFewerEntriesKeepsTheHigherKeys) {
  ScratchSettings settings;
  EngineCatalogue catalogue;
  catalogue.RestoreDefaults();
  catalogue.Save(settings.File());
  for (int i = 0; i < 6; ++i) catalogue.RemoveEntry(4);
  catalogue.ReplaceEntry(0, "new", "http://new/?q=");
  catalogue.Save(settings.File());

  EXPECT_EQ(settings.Read(keys::kEngine, keys::kNumber), "4");
  EXPECT_EQ(settings.Read(keys::kEngine, "E0"), "new");
  EXPECT_EQ(settings.Read(keys::kEngine, "S0"), "http://new/?q=");
  EXPECT_EQ(settings.Read(keys::kEngine, "E9"), "爱词霸");
  EXPECT_EQ(settings.Read(keys::kEngine, "S4"), "http://www.verycd.com/search/folders/");

  EngineCatalogue reloaded;
  reloaded.LoadForEditing(settings.File());
  EXPECT_EQ(reloaded.Entries(), catalogue.Entries());
}

TEST(EngineCatalogue, AddEntryTrimsAndRefuses) {
  struct Case { const char* name; const char* code; AddResult result; } steps[] = {
      {"  Abc", " \thttp://a/?q= ", AddResult::Added},
      {"ABC", "http://b/", AddResult::Duplicate},     // letter case ignored
      {"abc ", "http://c/", AddResult::Added},        // a trailing blank makes another name
      {"ab", "http://d/", AddResult::Added},          // a shorter name is another name
      {"", "", AddResult::NameMissing},
      {" \r\n", "http://e/", AddResult::NameMissing},
      {"new", "  ", AddResult::CodeMissing},
      {"Ärger", "http://f/", AddResult::Added},
      {"äRGER", "http://g/", AddResult::Duplicate},  // any script's letter case
      {"百度", "http://h/", AddResult::Added},
      {"佰度", "http://i/", AddResult::Added},
  };
  EngineCatalogue catalogue;
  for (const auto& step : steps) EXPECT_EQ(catalogue.AddEntry(step.name, step.code), step.result) << step.name;
  std::vector<EngineEntry> expected = {{"Abc", "http://a/?q= "}, {"abc ", "http://c/"}, {"ab", "http://d/"},
                                       {"Ärger", "http://f/"}, {"百度", "http://h/"}, {"佰度", "http://i/"}};
  EXPECT_EQ(catalogue.Entries(), expected);
}

TEST(EngineCatalogue, ReplaceTakesAnyTextAndMovesStopAtTheEnds) {
  EngineCatalogue catalogue = Catalogue({"a", "b", "c"});
  catalogue.ReplaceEntry(1, "", "");
  catalogue.ReplaceEntry(2, "a", "http://x/?q=");
  EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"a", "", "a"}));

  struct Case { bool up; size_t position; std::vector<std::string> names; } moves[] = {
      {true, 0, {"a", "b", "c"}},  {false, 2, {"a", "b", "c"}}, {true, 3, {"a", "b", "c"}},
      {true, 2, {"a", "c", "b"}},  {false, 0, {"b", "a", "c"}}, {false, 1, {"a", "c", "b"}},
  };
  for (const auto& move : moves) {
    EngineCatalogue list = Catalogue({"a", "b", "c"});
    move.up ? list.MoveUp(move.position) : list.MoveDown(move.position);
    EXPECT_EQ(Names(list), move.names) << (move.up ? "up " : "down ") << move.position;
  }
}

// A moved row comes back through the list's 1024-unit buffers: the moved
// entry is cut to 1023 UTF-16 units, never inside a character; the entry it
// passes keeps all its text.
TEST(EngineCatalogue, MovedEntryArrivesCutTo1023Units) {
  const std::string pad(1022, 'n');
  const std::string fits = pad + "百";          // 1023 units
  const std::string split = pad + "🍜";         // 1024: the pair straddles the cut
  const std::string whole = pad + "百度";       // the neighbour's, 1024 units
  struct Case { bool up; std::string name, code; std::string cutName, cutCode; } cases[] = {
      {true, fits, split, fits, pad},
      {false, split, fits, pad, fits},
      {true, "短", std::string(1500, 'c'), "短", std::string(1023, 'c')},
  };
  for (const auto& c : cases) {
    // Up: the case's entry second, moved up; down: first, moved down.
    EngineCatalogue catalogue = Catalogue({"a", "b"});
    const size_t moving = c.up ? 1 : 0;
    catalogue.ReplaceEntry(moving, c.name, c.code);
    catalogue.ReplaceEntry(1 - moving, whole, whole);
    c.up ? catalogue.MoveUp(moving) : catalogue.MoveDown(moving);
    const std::vector<EngineEntry> expected = c.up
        ? std::vector<EngineEntry>{{c.cutName, c.cutCode}, {whole, whole}}
        : std::vector<EngineEntry>{{whole, whole}, {c.cutName, c.cutCode}};
    EXPECT_EQ(catalogue.Entries(), expected) << (c.up ? "up " : "down ") << c.name.size();
  }
}

TEST(EngineCatalogue, LongNamesAreSavedAndReadAs1023Bytes) {
  ScratchSettings settings;
  EngineCatalogue catalogue;
  catalogue.AddEntry(std::string(1500, 'n'), std::string(1024, 'c'));
  catalogue.Save(settings.File());
  EXPECT_NE(settings.Contents().find("E0=" + std::string(1023, 'n') + "\r\n"), std::string::npos);
  catalogue.LoadForEditing(settings.File());
  ASSERT_EQ(catalogue.Count(), 1u);
  EXPECT_EQ(catalogue.Entries()[0].name, std::string(1023, 'n'));
  EXPECT_EQ(catalogue.Entries()[0].searchCode, std::string(1023, 'c'));
}
