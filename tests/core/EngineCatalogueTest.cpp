#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "settings/EngineCatalogue.h"
#include "settings/Keys.h"

namespace {

// Every code https, the closed services of the first table replaced in their places.
const std::vector<EngineEntry> kExpectedDefaults = {
    {"百度一下", "https://www.baidu.com/s?wd=", "bd", "https://suggestion.baidu.com/su?wd={q}"},
    {"Google谷歌", "https://www.google.com/search?q=", "g",
     "https://suggestqueries.google.com/complete/search?client=firefox&q={q}"},
    {"必应Bing", "https://www.bing.com/search?q=", "bing", "https://api.bing.com/osjson.aspx?query={q}"},
    {"Google图片", "https://www.google.com/search?tbm=isch&q=", "gi"},
    {"百度图片", "https://image.baidu.com/search/index?tn=baiduimage&word=", "bdi"},
    {"哔哩哔哩", "https://search.bilibili.com/all?keyword=", "bili"},
    {"Google地图", "https://www.google.com/maps/search/", "gm"},
    {"优酷视频", "https://so.youku.com/search_video/q_", "yk"},
    {"搜狗Sogou", "https://www.sogou.com/web?query=", "sg"},
    {"爱词霸", "https://www.iciba.com/word?w=", "cb"},
};
const EngineEntry kReadDefault = {"百度一下", "https://www.baidu.com/s?wd=", ""};

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
  EXPECT_EQ(catalogue.Entries(), std::vector<EngineEntry>(10, kReadDefault));
}

TEST(EngineCatalogue, RestoreDefaultsPutsTheTableFirst) {
  EngineCatalogue empty;
  empty.RestoreDefaults();
  EXPECT_EQ(empty.Entries(), kExpectedDefaults);

  EngineCatalogue three = Catalogue({"a", "b", "c"});
  three.RestoreDefaults();
  std::vector<EngineEntry> expected = kExpectedDefaults;
  for (const char* name : {"a", "b", "c"}) expected.push_back({name, "http://x/?q=", ""});
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
  EXPECT_EQ(settings.Read(keys::kEngine, "S4"), "https://image.baidu.com/search/index?tn=baiduimage&word=");
  EXPECT_EQ(settings.Read(keys::kEngine, "A0"), "");  // written empty over "bd": a removed shortcut stays removed
  EXPECT_EQ(settings.Read(keys::kEngine, "A9"), "cb");

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
  std::vector<EngineEntry> expected = {{"Abc", "http://a/?q= ", ""}, {"abc ", "http://c/", ""},
                                       {"ab", "http://d/", ""},          {"Ärger", "http://f/", ""},
                                       {"百度", "http://h/", ""},        {"佰度", "http://i/", ""}};
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
        ? std::vector<EngineEntry>{{c.cutName, c.cutCode, ""}, {whole, whole, ""}}
        : std::vector<EngineEntry>{{whole, whole, ""}, {c.cutName, c.cutCode, ""}};
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

// A shortcut is one word that no other engine has, letter case ignored, on
// adding and on replacing alike; the blanks around it go.
TEST(EngineCatalogue, AShortcutIsOneWordNoOtherEngineHas) {
  struct Step { bool replace; size_t position; const char* name; const char* shortcut; AddResult result; } steps[] = {
      {false, 0, "Google", " g ", AddResult::Added},
      {false, 0, "Gmail", "G", AddResult::ShortcutTaken},
      {false, 0, "Gmail", "g m", AddResult::ShortcutHasBlank},
      {false, 0, "Gmail", "g\u3000m", AddResult::ShortcutHasBlank},
      {false, 0, "Gmail", "", AddResult::Added},
      {false, 0, "Maps", "gm", AddResult::Added},
      {false, 0, "Ärger", "ä", AddResult::Added},
      {false, 0, "Ärger2", "Ä", AddResult::ShortcutTaken},  // any script's letter case
      {true, 1, "Gmail", "gm", AddResult::ShortcutTaken},
      {true, 1, "Gmail", "gmail", AddResult::Added},
      {true, 0, "Google", "G", AddResult::Added},             // its own shortcut in other letters
      {true, 2, "Maps", "a b", AddResult::ShortcutHasBlank},
  };
  EngineCatalogue catalogue;
  for (const Step& step : steps) {
    AddResult result = step.replace ? catalogue.ReplaceEntry(step.position, step.name, "https://x/", step.shortcut)
                                    : catalogue.AddEntry(step.name, "https://x/", step.shortcut);
    EXPECT_EQ(result, step.result) << step.name << " " << step.shortcut;
  }
  std::vector<std::string> shortcuts;
  for (const EngineEntry& entry : catalogue.Entries()) shortcuts.push_back(entry.shortcut);
  EXPECT_EQ(shortcuts, (std::vector<std::string>{"G", "gmail", "gm", "ä"}));
  EXPECT_EQ(catalogue.OtherWithShortcut("GM", 0), 2u);
  EXPECT_EQ(catalogue.OtherWithShortcut("gm", 2), catalogue.Count());
}

// Restoring the defaults never makes two engines share a word: the user's
// own shortcut stays, the built-in engine comes without it.
TEST(EngineCatalogue, RestoredDefaultsLeaveOutShortcutsTaken) {
  EngineCatalogue catalogue;
  catalogue.AddEntry("Mine", "https://mine/?q=", "G");
  catalogue.RestoreDefaults();
  catalogue.RestoreDefaults();
  ASSERT_EQ(catalogue.Count(), 21u);
  EXPECT_EQ(catalogue.Entries()[1].shortcut, "");      // the second restore: all taken by the first
  EXPECT_EQ(catalogue.Entries()[10].shortcut, "bd");   // the first restore
  EXPECT_EQ(catalogue.Entries()[11].shortcut, "");     // "g" was the user's
  EXPECT_EQ(catalogue.Entries()[20].shortcut, "G");
  for (size_t i = 0; i < catalogue.Count(); ++i) {
    const std::string& shortcut = catalogue.Entries()[i].shortcut;
    if (!shortcut.empty()) {
      EXPECT_EQ(catalogue.OtherWithShortcut(shortcut, i), catalogue.Count()) << shortcut;
    }
  }
}

// A move carries the shortcut with the engine; a file without "A%d" keys,
// as every earlier version wrote, loads without shortcuts.
TEST(EngineCatalogue, ShortcutsTravelWithTheirEngineAndOldFilesHaveNone) {
  ScratchSettings settings;
  settings.WriteRaw("[Engine]\r\nNumber=2\r\nE0=a\r\nS0=http://a/\r\nE1=b\r\nS1=http://b/\r\nA1= bb \r\n");
  EngineCatalogue catalogue;
  catalogue.LoadForEditing(settings.File());
  EXPECT_EQ(catalogue.Entries(),
            (std::vector<EngineEntry>{{"a", "http://a/", ""}, {"b", "http://b/", "bb"}}));
  catalogue.MoveUp(1);
  catalogue.Save(settings.File());
  EXPECT_EQ(settings.Read(keys::kEngine, "A0"), "bb");
  EXPECT_EQ(settings.Read(keys::kEngine, "A1"), "");
  // Saved without shortcuts, a file that had none stays without "A%d" keys.
  settings.WriteRaw("[Engine]\r\nNumber=1\r\nE0=a\r\nS0=http://a/\r\n");
  catalogue.LoadForEditing(settings.File());
  catalogue.Save(settings.File());
  EXPECT_EQ(settings.Contents(), "[Engine]\r\nNumber=1\r\nE0=a\r\nS0=http://a/\r\n");
}

// The suggestion address travels like the shortcut: blanks around it go, it
// is written where there is one or the file held one, and an engine without
// one leaves no key behind.
TEST(EngineCatalogue, SuggestionAddressesAreLoadedAndSavedWithTheirEngines) {
  ScratchSettings settings;
  EngineCatalogue catalogue;
  catalogue.AddEntry("a", "http://a/", "", "  http://a/s?q={q} ");
  catalogue.AddEntry("b", "http://b/");
  catalogue.Save(settings.File());
  EXPECT_EQ(settings.Contents(),
            "[Engine]\r\nNumber=2\r\nE0=a\r\nS0=http://a/\r\nU0=http://a/s?q={q}\r\nE1=b\r\nS1=http://b/\r\n");
  catalogue.ReplaceEntry(0, "a", "http://a/", "", "");
  catalogue.Save(settings.File());
  EXPECT_EQ(settings.Read(keys::kEngine, "U0"), "");  // removed, not come back
  EngineCatalogue reloaded;
  reloaded.LoadForEditing(settings.File());
  EXPECT_EQ(reloaded.Entries(), catalogue.Entries());
}
