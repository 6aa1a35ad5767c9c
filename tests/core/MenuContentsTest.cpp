#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "base/Text.h"
#include "bar/BarSettings.h"
#include "bar/MenuContents.h"
#include "settings/Keys.h"
#include "settings/StarterSettings.h"

namespace {

// Notes every key read, then reads it from the real file.
class RecordingReads : public ProfileStore {
 public:
  explicit RecordingReads(ProfileStore& store) : m_store(store) {}
  std::vector<std::string> keysRead;
  std::string Read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view defaultValue) override {
    keysRead.push_back(std::string(section) + "/" + std::string(key));
    return m_store.Read(path, section, key, defaultValue);
  }
  void Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override { m_store.Write(path, section, key, value); }
  std::string ReadableCut(const std::string& path, std::string_view value) override {
    return m_store.ReadableCut(path, value);
  }

 private:
  ProfileStore& m_store;
};

std::vector<std::string> Names(const EngineMenu& menu) {
  std::vector<std::string> names;
  for (const EngineEntry& engine : menu.engines) names.push_back(engine.name);
  return names;
}

std::vector<std::string> Numbered(std::string_view prefix, int count) {
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) texts.push_back(IndexedKey(prefix, i));
  return texts;
}

}  // namespace

TEST(MenuContents, NoFileGivesTheReadDefaultsAndTheDefaultOptions) {
  ScratchSettings settings;
  EngineMenu engines = ReadEngineMenu(settings.File());
  EXPECT_EQ(engines.engines, std::vector<EngineEntry>(10, {"百度一下", "https://www.baidu.com/s?wd=", ""}));
  EXPECT_EQ(ReadKeywordMenu(settings.File()).entries, std::vector<std::string>(10, "MFC"));
  EXPECT_EQ(ReadSiteMenu(settings.File()).entries, std::vector<std::string>(10, "csdn.net"));
  BarOptions options = BarOptions::Read(settings.File());
  EXPECT_EQ((std::array{options.doubleClickRight, options.useIE, options.useImage, options.imageNumber}),
            (std::array{1, 0, 1, 1}));
}

// A menu offers the list's own first entries, at most ten, never copies to
// fill ten places; the engines behind it are the whole catalogue, for the
// shortcuts. An empty list's button shows what position 0 reads.
TEST(MenuContents, TheListsOwnFirstEntriesAtMostTen) {
  struct Case {
    int number;
    size_t shown;
  } cases[] = {{0, 0}, {3, 3}, {10, 10}, {12, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    ScratchSettings settings;
    for (std::string_view section : {keys::kKey, keys::kSite, keys::kEngine}) {
      settings.Write(section, keys::kNumber, FormatInt(c.number));
    }
    // Keys above the count, left from an earlier save, are not offered.
    for (int i = 0; i < 13; ++i) {
      settings.Write(keys::kKey, IndexedKey("K", i), IndexedKey("k", i));
      settings.Write(keys::kSite, IndexedKey("S", i), IndexedKey("s", i));
      settings.Write(keys::kEngine, IndexedKey("E", i), IndexedKey("e", i));
    }
    TextMenu keywords = ReadKeywordMenu(settings.File());
    EXPECT_EQ(keywords.entries, Numbered("k", static_cast<int>(c.shown)));
    EXPECT_EQ(ReadSiteMenu(settings.File()).entries, Numbered("s", static_cast<int>(c.shown)));
    EngineMenu engines = ReadEngineMenu(settings.File());
    EXPECT_EQ(Names(engines), Numbered("e", c.number));
    EXPECT_EQ(keywords.whenEmpty, c.number == 0 ? "k0" : "");
    EXPECT_EQ(engines.whenEmpty.name, c.number == 0 ? "e0" : "");
  }
  ScratchSettings empty;
  empty.Write(keys::kKey, keys::kNumber, "0");
  EXPECT_EQ(ReadKeywordMenu(empty.File()).whenEmpty, "MFC");
}

// What a first start writes: the ten built-in engines with their shortcuts,
// one keyword, one site, and so menus without repeats.
TEST(MenuContents, TheStarterFileGivesTenDifferentEnginesAndOneKeywordAndSite) {
  ScratchSettings settings;
  WriteStarterSettings(settings.File());
  EngineMenu engines = ReadEngineMenu(settings.File());
  ASSERT_EQ(engines.engines.size(), kDefaultEngines.size());
  for (size_t i = 0; i < kDefaultEngines.size(); ++i) {
    EXPECT_EQ(engines.engines[i].name, kDefaultEngines[i].name);
    EXPECT_EQ(engines.engines[i].searchCode, kDefaultEngines[i].searchCode);
    EXPECT_EQ(engines.engines[i].shortcut, kDefaultEngines[i].shortcut);
    EXPECT_EQ(engines.engines[i].suggestUrl, kDefaultEngines[i].suggestUrl);
  }
  EXPECT_EQ(ReadKeywordMenu(settings.File()).entries, std::vector<std::string>{"MFC"});
  EXPECT_EQ(ReadSiteMenu(settings.File()).entries, std::vector<std::string>{"csdn.net"});
  EXPECT_EQ(settings.Contents().find("http:"), std::string::npos);
}

TEST(MenuContents, OptionsFollowTheAtoiRule) {
  ScratchSettings settings;
  settings.Write(keys::kSetting, keys::kDoubleClickRight, "0");
  settings.Write(keys::kSetting, keys::kUseIE, " 1x");
  settings.Write(keys::kSetting, keys::kUseImg, "abc");
  settings.Write(keys::kSetting, keys::kImgNumber, "30");
  BarOptions options = BarOptions::Read(settings.File());
  EXPECT_EQ((std::array{options.doubleClickRight, options.useIE, options.useImage, options.imageNumber}),
            (std::array{0, 1, 0, 30}));
}

TEST(MenuContents, StartUpReadsInTheBarsOrder) {
  ScratchSettings settings;
  RecordingReads reads(settings.Store());
  SettingsFile file(settings.Directory(), reads);
  ReadBarSettings(file);
  std::vector<std::string> expected;
  expected.push_back("Engine/Number");
  for (int i = 0; i < 10; ++i) {
    for (const char* key : {"E", "S", "A", "U"}) expected.push_back("Engine/" + IndexedKey(key, i));
  }
  expected.push_back("Site/Number");
  for (int i = 0; i < 10; ++i) expected.push_back("Site/" + IndexedKey("S", i));
  expected.push_back("Key/Number");
  for (int i = 0; i < 10; ++i) expected.push_back("Key/" + IndexedKey("K", i));
  for (const char* key : {"DoubleClickRight", "UseIE", "UseImg", "ImgNumber", "Suggest"}) {
    expected.push_back(std::string("Setting/") + key);
  }
  for (int i = 0; i < 100; ++i) expected.push_back("History/" + IndexedKey("H", i));
  EXPECT_EQ(reads.keysRead, expected);
}

// Suggestions are off unless switched on; "Suggest" reaches the file only once
// it was on, so a file of one who never switched it on stays as it was.
TEST(MenuContents, SuggestIsOffUntilSwitchedOnAndWrittenOnlyThen) {
  ScratchSettings settings;
  BarOptions options = BarOptions::Read(settings.File());
  EXPECT_EQ(options.suggest, 0);
  options.Save(settings.File());
  EXPECT_EQ(settings.Read(keys::kSetting, keys::kSuggest), "<missing>");
  options.suggest = 1;
  options.Save(settings.File());
  EXPECT_EQ(BarOptions::Read(settings.File()).suggest, 1);
  options.suggest = 0;
  options.Save(settings.File());
  EXPECT_EQ(settings.Read(keys::kSetting, keys::kSuggest), "0");
}
