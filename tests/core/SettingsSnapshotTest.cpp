// The program's reads from one snapshot and its saves built in memory must
// give what the same reads and writes give one at a time through IniFile
// (which the Wine comparison holds to the profile functions).
#include <gtest/gtest.h>

#include <functional>

#include "IconvGbk.h"
#include "TestText.h"
#include "ScratchSettings.h"
#include "bar/BarSettings.h"
#include "settings/EngineCatalogue.h"
#include "settings/Keys.h"
#include "settings/SettingsSnapshot.h"
#include "settings/TextList.h"

namespace {

using Save = std::function<void(const SettingsFile&)>;

std::string Gbk(std::string_view text) { return GbkBytes(text, IconvGbk()); }

// Starting files: none, empty, hand-edited, every encoding.
const std::vector<std::pair<std::string, std::string>> kStarts = {
    {"no file", ""},
    {"hand-edited",
     Gbk("; mine\r\n[History]\r\nH0=a\r\nH1=\r\nh2 = b \r\n\r\n[Engine]\nNumber=1\nE0=谷歌\n[Setting]\r\nUseIE=1")},
    {"utf-16", Utf16LeFile(u"[Engine]\r\nE0=谷歌\r\n[History]\r\nH0=中文\r\n")},
    {"utf-8", "\xEF\xBB\xBF[Key]\r\nK0=\xE4\xB8\xAD\xE6\x96\x87\r\n[Site]\r\nS0=x.cn\r\n"},
};

// The program's save sequences, as its dialogs and its exit make them.
std::vector<std::pair<std::string, Save>> SaveSequences() {
  return {
      {"exit", [](const SettingsFile& file) {
         QueryHistory history;
         history.Load(file);
         history.Record("百度一下");
         history.Record("  quoted \"x\" ");
         history.Save(file);
         file.WriteString(keys::kSetting, keys::kUseIE, "0");
         file.WriteString(keys::kSetting, keys::kDoubleClickRight, "1");
         file.WriteString(keys::kSetting, keys::kUseImg, "0");
       }},
      {"engine OK", [](const SettingsFile& file) {
         EngineCatalogue catalogue;
         catalogue.LoadForEditing(file);
         catalogue.RemoveEntry(0);
         catalogue.AddEntry("搜狗", "http://sogou.test/?q=");
         catalogue.Save(file);
       }},
      {"keyword and site OK", [](const SettingsFile& file) {
         TextList keywords(kKeywordListKind), sites(kSiteListKind);
         keywords.LoadForEditing(file);
         sites.LoadForEditing(file);
         keywords.AddEntry("下载");
         sites.RemoveEntry(1);
         keywords.Save(file);
         sites.Save(file);
       }},
      {"picture OK", [](const SettingsFile& file) { file.WriteString(keys::kSetting, keys::kImgNumber, "17"); }},
      {"exit after searches GBK cannot hold", [](const SettingsFile& file) {
         QueryHistory history;
         history.Load(file);
         history.Record("한국어 검색");
         history.Record("𠮷 🍜");
         history.Save(file);
       }},
  };
}

}  // namespace

TEST(SettingsSnapshot, EverySaveInMemoryLeavesTheBytesOfWritesOneAtATime) {
  IconvGbk gbk;
  for (const auto& [startName, start] : kStarts) {
    for (const auto& [saveName, save] : SaveSequences()) {
      SCOPED_TRACE(startName + ", " + saveName);
      ScratchSettings settings;
      IniFile oneAtATime(gbk);
      SettingsFile file = SettingsFile::AtPath(settings.File().Path(), oneAtATime);
      if (startName != "no file") settings.WriteRaw(start);
      save(file);
      std::optional<std::string> inMemory = SaveInMemory(file.Path(), start, gbk, save);
      ASSERT_TRUE(inMemory);
      EXPECT_EQ(*inMemory, settings.Contents());
    }
  }
}

TEST(SettingsSnapshot, ASaveThatChangesNothingWritesNothing) {
  IconvGbk gbk;
  const std::string file = "[Setting]\r\nImgNumber=17\r\n";
  Save picture = [](const SettingsFile& f) { f.WriteString(keys::kSetting, keys::kImgNumber, "17"); };
  EXPECT_FALSE(SaveInMemory("Quarrow.ini", file, gbk, picture));
  EXPECT_FALSE(SaveInMemory("Quarrow.ini", "", gbk, [](const SettingsFile&) {}));
  EXPECT_EQ(SaveInMemory("Quarrow.ini", "", gbk, picture), file);
}

TEST(SettingsSnapshot, TheBarsStartReadsGiveWhatReadsOneAtATimeGive) {
  IconvGbk gbk;
  for (const auto& [startName, start] : kStarts) {
    SCOPED_TRACE(startName);
    ScratchSettings settings;
    if (startName != "no file") settings.WriteRaw(start);
    IniFile oneAtATime(gbk);
    SettingsFile file = SettingsFile::AtPath(settings.File().Path(), oneAtATime);
    SettingsSnapshot snapshot(file.Path(), start, gbk);
    BarSettings fromSnapshot = ReadBarSettings(snapshot.File());
    BarSettings fromFile = ReadBarSettings(file);
    EXPECT_EQ(fromSnapshot.menus.engines.engines, fromFile.menus.engines.engines);
    EXPECT_EQ(fromSnapshot.menus.sites.entries, fromFile.menus.sites.entries);
    EXPECT_EQ(fromSnapshot.menus.keywords.entries, fromFile.menus.keywords.entries);
    EXPECT_EQ(fromSnapshot.options.useIE, fromFile.options.useIE);
    EXPECT_EQ(fromSnapshot.history.Entries(), fromFile.history.Entries());
  }
  // What the files above hold, as the program's text.
  SettingsSnapshot utf16("Quarrow.ini", kStarts[2].second, gbk);
  BarSettings read = ReadBarSettings(utf16.File());
  EXPECT_EQ(read.menus.engines.engines[0].name, "谷歌");
  EXPECT_EQ(read.history.Entries(), std::vector<std::string>{"中文"});
  SettingsSnapshot edited("Quarrow.ini", kStarts[1].second, gbk);
  read = ReadBarSettings(edited.File());
  EXPECT_EQ(read.history.Entries(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(read.options.useIE, 1);
}
