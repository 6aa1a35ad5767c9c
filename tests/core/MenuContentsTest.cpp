#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "base/Text.h"
#include "bar/BarSettings.h"
#include "bar/MenuContents.h"
#include "settings/Keys.h"

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

MenuTexts Repeated(std::string_view text) {
  MenuTexts texts;
  texts.fill(std::string(text));
  return texts;
}

}  // namespace

TEST(MenuContents, NoFileGivesTenDefaultsAndTheDefaultOptions) {
  ScratchSettings settings;
  EngineMenuContents engines = ReadEngineMenu(settings.File());
  EXPECT_EQ(engines.names, Repeated("百度一下"));
  EXPECT_EQ(engines.codes, Repeated("http://www.baidu.com/s?wd="));
  EXPECT_EQ(ReadKeywordMenu(settings.File()), Repeated("MFC"));
  EXPECT_EQ(ReadSiteMenu(settings.File()), Repeated("csdn.net"));
  BarOptions options = BarOptions::Read(settings.File());
  EXPECT_EQ((std::array{options.doubleClickRight, options.useIE, options.useImage, options.imageNumber}),
            (std::array{1, 0, 1, 1}));
}

TEST(MenuContents, AlwaysPositionsZeroToNineWhateverNumberSays) {
  ScratchSettings settings;
  settings.Write(keys::kKey, keys::kNumber, "3");
  for (int i : {0, 1, 2, 5}) settings.Write(keys::kKey, IndexedKey("K", i), IndexedKey("k", i));
  settings.Write(keys::kSite, keys::kNumber, "12");
  for (int i = 0; i < 12; ++i) settings.Write(keys::kSite, IndexedKey("S", i), IndexedKey("s", i));
  settings.Write(keys::kEngine, "E3", "Sogou");
  settings.Write(keys::kEngine, "S0", "http://engine/?q=");

  EXPECT_EQ(ReadKeywordMenu(settings.File()),
            (MenuTexts{"k0", "k1", "k2", "MFC", "MFC", "k5", "MFC", "MFC", "MFC", "MFC"}));
  EXPECT_EQ(ReadSiteMenu(settings.File()), (MenuTexts{"s0", "s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8", "s9"}));
  EngineMenuContents engines = ReadEngineMenu(settings.File());
  EXPECT_EQ(engines.names[3], "Sogou");
  EXPECT_EQ(engines.names[0], "百度一下");
  EXPECT_EQ(engines.codes[0], "http://engine/?q=");
  EXPECT_EQ(engines.codes[3], "http://www.baidu.com/s?wd=");
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
  for (int i = 0; i < 10; ++i) {
    expected.push_back("Engine/" + IndexedKey("E", i));
    expected.push_back("Engine/" + IndexedKey("S", i));
  }
  for (int i = 0; i < 10; ++i) expected.push_back("Site/" + IndexedKey("S", i));
  for (int i = 0; i < 10; ++i) expected.push_back("Key/" + IndexedKey("K", i));
  for (const char* key : {"DoubleClickRight", "UseIE", "UseImg", "ImgNumber"}) expected.push_back(std::string("Setting/") + key);
  for (int i = 0; i < 100; ++i) expected.push_back("History/" + IndexedKey("H", i));
  EXPECT_EQ(reads.keysRead, expected);
}
