#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "IconvGbk.h"
#include "TestText.h"
#include "base/Unicode.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// A fresh directory per test, with Quarrow.ini written and read as raw bytes.
class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("quarrow-ini-" + std::to_string(random()));
    fs::create_directories(m_dir);
    m_path = (m_dir / "Quarrow.ini").string();
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, ec);
    fs::remove_all(m_dir, ec);
  }

  void Put(std::string_view bytes) const {
    std::ofstream(m_path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
  }
  std::string Bytes() const {
    std::ifstream in(m_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path m_dir;
  std::string m_path;
  IconvGbk m_gbk;
  IniFile m_ini{m_gbk};
};

const IconvGbk kGbk;

std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int n = 0; n < times; ++n) out += text;
  return out;
}

// The GBK bytes of a UTF-8 text written here, and the text of GBK bytes.
std::string Gbk(std::string_view text) { return GbkBytes(text, kGbk); }
std::string FromGbk(std::string_view bytes) { return GbkToText(bytes, kGbk); }

struct ReadCase {
  std::string file, section, key, fallback, expected;
};

// Each case's file is read by a new IniFile and by `ini`, whose cache holds
// the previous case's file: both must give the expected value.
void ExpectReads(IniFile& ini, const std::string& path, const std::vector<ReadCase>& cases) {
  for (const auto& c : cases) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(c.file.data(), c.file.size());
    IniFile fresh(kGbk);
    EXPECT_EQ(fresh.Read(path, c.section, c.key, c.fallback), c.expected)
        << "file \"" << c.file.substr(0, 200) << "\" [" << c.section << "] " << c.key;
    EXPECT_EQ(ini.Read(path, c.section, c.key, c.fallback), c.expected)
        << "file \"" << c.file.substr(0, 200) << "\" [" << c.section << "] " << c.key;
  }
}

}  // namespace

TEST_F(IniFileTest, ReadsValuesLikeTheProfileFunctions) {
  const std::vector<ReadCase> cases = {
      {"[S]\r\nk=v\r\n", "S", "k", "d", "v"},
      // Blanks around names and values, and around '='.
      {"[S]\r\n  k  =  v w \t\r\n", "S", "k", "d", "v w"},
      {"  [S]  \r\nk=v\r\n", "S", "k", "d", "v"},
      // One pair of enclosing quotes goes, double or single; unmatched ones stay.
      {"[S]\r\nk=\"v\"\r\n", "S", "k", "d", "v"},
      {"[S]\r\nk= 'v' \r\n", "S", "k", "d", "v"},
      {"[S]\r\nk=\"\"v\"\"\r\n", "S", "k", "d", "\"v\""},
      {"[S]\r\nk=\"v'\r\n", "S", "k", "d", "\"v'"},
      {"[S]\r\nk=\"\r\n", "S", "k", "d", "\""},
      {"[S]\r\nk=\"\"\r\n", "S", "k", "d", ""},
      {"[S]\r\nk=\"a\" b\r\n", "S", "k", "d", "\"a\" b"},
      // Missing file parts give the default, without its trailing blanks.
      {"", "S", "k", "d  ", "d"},
      {"[S]\r\nk=v\r\n", "T", "k", "dflt", "dflt"},
      {"[S]\r\nk=v\r\n", "S", "j", "", ""},
      {"k=v\r\n[S]\r\n", "S", "k", "d", "d"},
      // An empty value is a value.
      {"[S]\r\nk=\r\n", "S", "k", "d", ""},
      // Names ignore letter case; a GBK character whose second byte looks
      // like a letter is a character of its own.
      {"[eNgInE]\r\nE0=x\r\n", "Engine", "e0", "d", "x"},
      {"[S]\r\n\xB0\x41=x\r\n", "S", FromGbk("\xB0\x61"), "d", "d"},
      {"[\xB0\x41]\r\nk=x\r\n", FromGbk("\xB0\x61"), "k", "d", "d"},
      {"[\xB0\x41]\r\nk=x\r\n", FromGbk("\xB0\x41"), "k", "d", "x"},
      {Gbk("[S]\r\n百度=x\r\n"), "s", "百度", "d", "x"},
      {Gbk("[Д]\r\nΣ=x\r\n"), "д", "σ", "d", "x"},
      // The first section and the first key of a name win.
      {"[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\nj=4\r\n", "S", "k", "d", "1"},
      {"[S]\r\nk=1\r\n[s]\r\nj=4\r\n", "S", "j", "d", "d"},
      // The first '=' divides name and value.
      {"[S]\r\nk==a=b\r\n", "S", "k", "d", "=a=b"},
      // Line ends of every kind, and none at the end.
      {"[S]\nk=v\n", "S", "k", "d", "v"},
      {"[S]\rk=v\r", "S", "k", "d", "v"},
      {"[S]\r\nk=v", "S", "k", "d", "v"},
      {"[S]\r\r\n\nk=v", "S", "k", "d", "v"},
      // A file without a byte-order mark is GBK.
      {Gbk("[History]\r\nH0=百度一下 谷歌\r\n"), "History", "H0", "", "百度一下 谷歌"},
  };
  ExpectReads(m_ini, m_path, cases);
}

TEST_F(IniFileTest, ValuesAreCutTo1023Bytes) {
  const std::string x1023(1023, 'x');
  const std::vector<ReadCase> cases = {
      {"[S]\r\nk=" + x1023 + "\r\n", "S", "k", "", x1023},
      {"[S]\r\nk=" + x1023 + "yz\r\n", "S", "k", "", x1023},
      {"[S]\r\nk=\"" + std::string(5000, 'x') + "\"\r\n", "S", "k", "", x1023},
      {"", "S", "k", std::string(2000, 'd'), std::string(1023, 'd')},
      // 1023 bytes of GBK, never half a character: a character across the cut goes whole.
      {"[S]\r\nk=a" + std::string(1000, '\xB0') + "\r\n", "S", "k", "", FromGbk("a" + std::string(1000, '\xB0'))},
      {"[S]\r\nk=" + std::string(1100, '\xB0') + "\r\n", "S", "k", "", FromGbk(std::string(1022, '\xB0'))},
      {"", "S", "k", Repeat("百", 600), Repeat("百", 511)},
  };
  ExpectReads(m_ini, m_path, cases);
}

struct WriteCase {
  std::string before, section, key, value, after;
};

TEST_F(IniFileTest, WritesEditOneLineAndLeaveTheRest) {
  const WriteCase cases[] = {
      // Replaced in place; the name keeps the file's spelling.
      {"; top\r\n[S]\r\n  KEY = old \r\n\r\nx=1\r\n", "s", "key", "new",
       "; top\r\n[S]\r\nKEY=new\r\n\r\nx=1\r\n"},
      // Added after the section's last line that is not blank.
      {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3", "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
      {"[A]\r\n[B]\r\n", "A", "z", "3", "[A]\r\nz=3\r\n[B]\r\n"},
      {"[A]\r\nx=1", "A", "z", "3", "[A]\r\nx=1\r\nz=3\r\n"},
      // A new section goes at the end, after a line end if the file lacks one.
      {"[A]\r\nx=1\r\n", "B", "y", "2", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
      {"[A]\nx=1", "B", "y", "2", "[A]\nx=1\r\n[B]\r\ny=2\r\n"},
      {"", "B", "y", "", "[B]\r\ny=\r\n"},
      // Other lines keep their own line ends and bytes.
      {"[A]\nx=1\n junk \x01\xFF\n", "A", "x", "2", "[A]\nx=2\n junk \x01\xFF\n"},
      {"[A]\rx=1\ry=2\r", "A", "x", "9", "[A]\rx=9\ry=2\r"},
      // Only the first of duplicated sections and keys is changed.
      {"[A]\r\nx=1\r\nx=2\r\n[a]\r\nx=3\r\n", "A", "X", "0", "[A]\r\nx=0\r\nx=2\r\n[a]\r\nx=3\r\n"},
      // Values are written as given; reading trims them.
      {"[A]\r\n", "A", "x", "  v  ", "[A]\r\nx=  v  \r\n"},
  };
  for (const auto& c : cases) {
    Put(c.before);
    m_ini.Write(m_path, c.section, c.key, c.value);
    EXPECT_EQ(Bytes(), c.after) << "before \"" << c.before << "\" " << c.key << "=" << c.value;
  }
}

TEST_F(IniFileTest, TheFileIsCreatedOnFirstWriteAndWritesThatFailDoNothing) {
  EXPECT_EQ(m_ini.Read(m_path, "History", "H0", "none"), "none");
  m_ini.Write(m_path, "History", "H0", "q");
  m_ini.Write(m_path, "Setting", "UseIE", "0");
  EXPECT_EQ(Bytes(), "[History]\r\nH0=q\r\n[Setting]\r\nUseIE=0\r\n");

  // A directory that does not exist: nothing is created, nothing reported.
  std::string lost = (m_dir / "gone" / "Quarrow.ini").string();
  m_ini.Write(lost, "History", "H0", "q");
  EXPECT_FALSE(fs::exists(m_dir / "gone"));
  EXPECT_EQ(m_ini.Read(lost, "History", "H0", "d"), "d");

  // A read-only file keeps its content.
  fs::permissions(m_path, fs::perms::owner_read | fs::perms::group_read);
  m_ini.Write(m_path, "History", "H0", "changed");
  EXPECT_EQ(m_ini.Read(m_path, "History", "H0", "d"), "q");
  fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Bytes(), "[History]\r\nH0=q\r\n[Setting]\r\nUseIE=0\r\n");
}

TEST_F(IniFileTest, AWriteReplacesTheWholeFileAtOnce) {
  Put("[A]\r\nx=1\r\n");
  // A second name for the old file: had the write changed the file where it
  // lies, the old name would see the change too.
  fs::create_hard_link(m_path, m_dir / "old.ini");
  m_ini.Write(m_path, "A", "x", "2");
  EXPECT_EQ(Bytes(), "[A]\r\nx=2\r\n");
  std::ifstream old(m_dir / "old.ini", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "[A]\r\nx=1\r\n");
  // Nothing is left beside it.
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(m_dir)) ++files;
  EXPECT_EQ(files, 2);
}

// IniFile keeps nothing between calls: every read sees the file as it is
// then, however it changed, also where nothing but its content tells (the
// same size and time stamp), so that no cache of it can come back unnoticed.
TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
  Put("[A]\r\nx=1\r\n");
  EXPECT_EQ(m_ini.Read(m_path, "A", "x", "d"), "1");
  // Same size, same time stamp: only the content tells.
  auto stamp = fs::last_write_time(m_path);
  Put("[A]\r\nx=2\r\n");
  fs::last_write_time(m_path, stamp);
  EXPECT_EQ(m_ini.Read(m_path, "A", "x", "d"), "2");
  // Written by another IniFile (another copy of the program).
  IniFile other(kGbk);
  other.Write(m_path, "A", "x", "3");
  EXPECT_EQ(m_ini.Read(m_path, "A", "x", "d"), "3");
  // Removed.
  fs::remove(m_path);
  EXPECT_EQ(m_ini.Read(m_path, "A", "x", "d"), "d");
  // Made again with an old time stamp, then changed.
  Put("[A]\r\nx=4\r\n");
  fs::last_write_time(m_path, fs::file_time_type::clock::now() - std::chrono::hours(1));
  EXPECT_EQ(m_ini.Read(m_path, "A", "x", "d"), "4");
  Put("[A]\r\nx=5\r\n");
  EXPECT_EQ(m_ini.Read(m_path, "A", "x", "d"), "5");
}

TEST_F(IniFileTest, SettingsFileValuesReadBackAsMeant) {
  struct Case {
    std::string written, readBack;
  } cases[] = {
      {"\"exact phrase\"", "\"exact phrase\""},
      {"'single'", "'single'"},
      {"x\r\n[Engine]\r\nS0=http://evil/?q=", "x  [Engine]  S0=http://evil/?q="},
      {"a\nb\rc", "a b c"},
      {"  blanks  ", "blanks"},
      {"百度一下", "百度一下"},
      {"", ""},
  };
  SettingsFile file(m_dir.string(), m_ini);
  int n = 0;
  for (const auto& c : cases) file.WriteString("History", "H" + std::to_string(n++), c.written);
  n = 0;
  IniFile fresh(kGbk);
  SettingsFile again(m_dir.string(), fresh);
  for (const auto& c : cases) {
    EXPECT_EQ(again.ReadString("History", "H" + std::to_string(n++), "?"), c.readBack) << c.written;
  }
  // The line breaks never made a section or a key of their own.
  EXPECT_EQ(again.ReadString("Engine", "S0", "none"), "none");
}

TEST_F(IniFileTest, AnyBytesGiveSensibleReads) {
  const std::string megabyte(1 << 20, 'x');
  const std::vector<ReadCase> cases = {
      // NUL bytes: names and values end there, as C strings do.
      {"[S]\r\nk=ab\0cd\r\n"s, "S", "k", "d", "ab"},
      {"[S\0junk]\r\nk=v\r\n"s, "S", "k", "d", "v"},
      {"[S]\r\n\0\0\0\r\nk=v\r\n"s, "S", "k", "d", "v"},
      // Lines that are neither headers nor keys are passed over.
      {"]]]===[[[\r\n[\r\n[]\r\n=\r\n[S]\r\njust words\r\nk=v\r\n", "S", "k", "d", "v"},
      {"[S]\r\njust words\r\n", "S", "just words", "d", "d"},
      {"\xFF\xFF\xFF\x80\x81", "S", "k", "d", "d"},
      // Ctrl-Z counts as a blank around a value.
      {"[S]\r\nk=\x1Av\x1A\r\n", "S", "k", "d", "v"},
      // A line of a megabyte, before the key and as the value.
      {"[S]\r\n" + megabyte + "\r\nk=v\r\n", "S", "k", "d", "v"},
      {"[S]\r\nk=" + megabyte, "S", "k", "d", std::string(1023, 'x')},
      // UTF-16 with a byte-order mark, either order.
      {"\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s, "S", "k", "d", "v"},
      {"\xFE\xFF\0[\0S\0]\0\n\0k\0=\0v"s, "S", "k", "d", "v"},
      {"\xFF\xFE[\0S\0]\0\n\0k\0=\0\x7e\x76\x21\0"s, "S", "k", "d", "百!"},
      {"\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0w"s, "S", "k", "d", "v"},  // an odd byte at the end
      {"\xEF\xBB\xBF[S]\r\nk=\xE7\x99\xBEv\r\n"s, "S", "k", "d", "百v"},
  };
  ExpectReads(m_ini, m_path, cases);
}

TEST_F(IniFileTest, ATenMegabyteFileIsReadAndWritten) {
  std::string text = "[History]\r\n";
  for (int n = 0; text.size() < (10u << 20); ++n) {
    text += "H" + std::to_string(n) + "=" + std::string(1000, 'a' + n % 26) + "\r\n";
  }
  text += "[Setting]\r\nUseIE=1\r\n";
  Put(text);
  EXPECT_EQ(m_ini.Read(m_path, "Setting", "UseIE", "d"), "1");
  EXPECT_EQ(m_ini.Read(m_path, "History", "H5000", "d"), std::string(1000, 'a' + 5000 % 26));
  m_ini.Write(m_path, "Setting", "UseImg", "0");
  std::string after = Bytes();
  EXPECT_EQ(after.size(), text.size() + 10);
  EXPECT_EQ(after.substr(after.size() - 30), "[Setting]\r\nUseIE=1\r\nUseImg=0\r\n");
}

namespace {

// A UTF-8 file with its byte-order mark, from text written here in UTF-16
// (the UTF-16 ones: TestText.h).
std::string Utf8(std::u16string_view text) { return "\xEF\xBB\xBF" + Utf16ToUtf8(text); }

}  // namespace

TEST_F(IniFileTest, UnicodeFilesGiveTheirTextWhole) {
  const std::vector<ReadCase> cases = {
      {Utf16LeFile(u"[Engine]\r\nE0=百度一下\r\n"), "Engine", "E0", "d", "百度一下"},
      {Utf16BeFile(u"[Engine]\r\nE0= 百度一下 \r\n"), "Engine", "E0", "d", "百度一下"},
      {Utf8(u"[Engine]\r\nE0=百度一下\r\n"), "Engine", "E0", "d", "百度一下"},
      {Utf8(u"[搜索]\r\n引擎=谷歌\r\n"), "搜索", "引擎", "d", "谷歌"},
      {Utf16LeFile(u"[搜索]\n引擎=谷歌"), "搜索", "引擎", "d", "谷歌"},
      // Characters GBK cannot hold, within and beyond the Basic Multilingual Plane.
      {Utf16LeFile(u"[S]\r\nk=한국어 🍜 𠮷\r\n"), "S", "k", "d", "한국어 🍜 𠮷"},
      {Utf16LeFile(u"[Ä]\r\nk=x\r\n"), "ä", "K", "d", "x"},
      // An unpaired surrogate is kept as it is (as three bytes of its own).
      {Utf16LeFile(u"[S]\r\nk=a") + "\x00\xD8"s + "b\0"s, "S", "k", "d", "a\xED\xA0\x80" "b"},
      // A broken UTF-8 sequence keeps its bytes as escapes.
      {"\xEF\xBB\xBF[S]\r\nk=a\xE7\x99" "b\r\n", "S", "k", "d", "a\xED\xB3\xA7\xED\xB2\x99" "b"},
      // 1023 UTF-16 units, never half a surrogate pair.
      {Utf16LeFile(u"[S]\r\nk=" + std::u16string(1100, u'百')), "S", "k", "", Repeat("百", 1023)},
      {Utf16LeFile(u"[S]\r\nk=" + std::u16string(1022, u'x') + u"🍜"), "S", "k", "", std::string(1022, 'x')},
      {Utf8(u"[S]\r\nk=" + std::u16string(1021, u'x') + u"🍜🍜"), "S", "k", "", std::string(1021, 'x') + "🍜"},
  };
  ExpectReads(m_ini, m_path, cases);
}

TEST_F(IniFileTest, WritesKeepTheFilesEncodingAndTheOtherLines) {
  const std::vector<WriteCase> cases = {
      {Utf16LeFile(u"[S]\r\nk=v\r\n"), "S", "k", "百度", Utf16LeFile(u"[S]\r\nk=百度\r\n")},
      {Utf16LeFile(u"[S]\r\nk=v"), "T", "搜索", "谷歌", Utf16LeFile(u"[S]\r\nk=v\r\n[T]\r\n搜索=谷歌\r\n")},
      {Utf16BeFile(u"[S]\n"), "S", "k", "1", Utf16BeFile(u"[S]\nk=1\r\n")},
      {Utf8(u"[Setting]\r\nUseIE=0\r\n"), "Setting", "UseIE", "1", Utf8(u"[Setting]\r\nUseIE=1\r\n")},
      {Utf8(u"[History]\r\nH0=a\r\n"), "History", "H1", "百度", Utf8(u"[History]\r\nH0=a\r\nH1=百度\r\n")},
      {Utf8(u"[History]\r\nH0=a\r\n"), "History", "H1", "🍜", Utf8(u"[History]\r\nH0=a\r\nH1=🍜\r\n")},
      // Lines that are not written keep their bytes.
      {Utf16LeFile(u"; \u0E01\U0001F600\r\n[S]\r\nk=\u0E01\r\nj=1\r\n"), "S", "j", "2",
       Utf16LeFile(u"; \u0E01\U0001F600\r\n[S]\r\nk=\u0E01\r\nj=2\r\n")},
      {Utf8(u"[S]\r\nk=\u0E01\r\n") + "x\xFF\r\n", "S", "j", "2", Utf8(u"[S]\r\nk=\u0E01\r\n") + "x\xFF\r\nj=2\r\n"},
      // GBK stays GBK while it can hold what is written, a new file too.
      {"", "History", "H0", "百度", Gbk("[History]\r\nH0=百度\r\n")},
      {Gbk("; 注释\r\n[S]\r\nk=v"), "S", "k", "谷歌", Gbk("; 注释\r\n[S]\r\nk=谷歌")},
      // What GBK cannot hold makes the whole file UTF-16 with its mark, every
      // line kept as text, its own line ends too.
      {Gbk("; 注释\n[S]\r\nk=百度\r\n[T]\rj=1"), "S", "h", "한국어",
       Utf16LeFile(u"; 注释\n[S]\r\nk=百度\r\nh=한국어\r\n[T]\rj=1")},
      {"", "History", "H0", "𠮷", Utf16LeFile(u"[History]\r\nH0=𠮷\r\n")},
      {Gbk("[S]\r\n"), "Ünï", "k", "v", Utf16LeFile(u"[S]\r\n[Ünï]\r\nk=v\r\n")},
  };
  for (const auto& c : cases) {
    Put(c.before);
    IniFile ini(kGbk);
    ini.Write(m_path, c.section, c.key, c.value);
    EXPECT_EQ(Bytes(), c.after) << "[" << c.section << "] " << c.key << "=" << c.value;
    EXPECT_EQ(ini.Read(m_path, c.section, c.key, "d"), c.value);
  }
}

TEST_F(IniFileTest, BytesThatAreNoTextKeepThemselves) {
  // A GBK file with a broken pair and a lone lead byte at its end; a UTF-16
  // file with an odd last byte and an unpaired surrogate. Reading works, a
  // write elsewhere leaves those lines byte for byte, and a value moved to
  // another key is written as the same bytes.
  const std::string gbkFile = Gbk("[H]\r\nH0=百") + "\x81\x20x\r\nH1=a" + "\xB0";
  const std::string utf16File = Utf16LeFile(u"[H]\r\nH0=a") + std::string("\x00\xDC", 2) + std::string("\r\0\nH1=b\0", 8) + "\x7F";
  for (const std::string& start : {gbkFile, utf16File}) {
    Put(start);
    std::string h0 = m_ini.Read(m_path, "H", "H0", "d");
    m_ini.Write(m_path, "H", "H9", "1");
    EXPECT_EQ(Bytes().substr(0, start.size() - (start == utf16File)), start.substr(0, start.size() - (start == utf16File)));
    m_ini.Write(m_path, "H", "H9", h0);
    IniFile fresh(kGbk);
    EXPECT_EQ(fresh.Read(m_path, "H", "H9", "d"), h0);
  }
  Put(gbkFile);
  m_ini.Write(m_path, "H", "H2", m_ini.Read(m_path, "H", "H0", "d"));
  EXPECT_EQ(Bytes(), gbkFile + "\r\n" + Gbk("H2=百") + "\x81\x20x\r\n");
}

TEST_F(IniFileTest, ThingsThatAreNoFileAreLeftAlone) {
  // A folder where the file should be.
  fs::create_directory(m_path);
  EXPECT_EQ(m_ini.Read(m_path, "S", "k", "d"), "d");
  m_ini.Write(m_path, "S", "k", "v");
  EXPECT_TRUE(fs::is_directory(m_path));
  EXPECT_TRUE(fs::is_empty(m_path));
  fs::remove(m_path);
  // A link to the file: the file it names is changed, the link stays.
  fs::path target = m_dir / "real.ini";
  std::ofstream(target, std::ios::binary) << "[S]\r\nk=v\r\n";
  fs::create_symlink(target, m_path);
  m_ini.Write(m_path, "S", "k", "w");
  EXPECT_TRUE(fs::is_symlink(m_path));
  std::ifstream real(target, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(real), {}), "[S]\r\nk=w\r\n");
  EXPECT_EQ(m_ini.Read(m_path, "S", "k", "d"), "w");
}

TEST_F(IniFileTest, ArgumentsEndAtANulByte) {
  // What the program hands the profile functions are C strings.
  m_ini.Write(m_path, "S\0x"s, "k\0y"s, "v\0z"s);
  EXPECT_EQ(Bytes(), "[S]\r\nk=v\r\n");
  EXPECT_EQ(m_ini.Read(m_path, "S\0q"s, "k\0q"s, "d"), "v");
  EXPECT_EQ(m_ini.Read(m_path, "T", "k", "d\0efault"s), "d");
}

TEST_F(IniFileTest, ALineBreakWrittenRawMakesLinesOfItsOwn) {
  // The profile functions write what they are given: the file then holds the
  // lines the text makes, and reads see them (SettingsFile writes blanks instead).
  for (const std::string& start : {""s, "[History]\r\nH0=a\r\n"s, Utf16LeFile(u"[History]\r\nH0=a\r\n")}) {
    IniFile ini(kGbk);
    Put(start);
    ini.Write(m_path, "History", "H1", "x\r\n[Engine]\r\nS0=http://evil/?q=");
    EXPECT_EQ(ini.Read(m_path, "History", "H1", "d"), "x");
    EXPECT_EQ(ini.Read(m_path, "Engine", "S0", "d"), "http://evil/?q=");
    ini.Write(m_path, "Engine", "E0", "e");
    IniFile fresh(kGbk);
    EXPECT_EQ(fresh.Read(m_path, "Engine", "E0", "d"), "e");
    EXPECT_EQ(fresh.Read(m_path, "Engine", "S0", "d"), "http://evil/?q=");
  }
}
