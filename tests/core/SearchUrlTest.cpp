#include <gtest/gtest.h>

#include "IconvGbk.h"
#include "search/AimedQuery.h"
#include "search/SearchUrl.h"

namespace {

const IconvGbk kGbk;

// What an engine does with the query part of the address: %XX back to bytes.
std::string PercentDecode(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      bytes.push_back(static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16)));
      i += 2;
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

}  // namespace

TEST(PercentEncode, KeepsOnlyTheUnreservedBytes) {
  struct Case { std::string text, encoded; } cases[] = {
      {"AZaz09-._~", "AZaz09-._~"},
      {"C++ 教程", "C%2B%2B%20%E6%95%99%E7%A8%8B"},
      {"C#", "C%23"},
      {"AT&T", "AT%26T"},
      {"100%", "100%25"},
      {"a/b?c=d", "a%2Fb%3Fc%3Dd"},
      {"\"'<>\\^`{|}", "%22%27%3C%3E%5C%5E%60%7B%7C%7D"},
      {"\t\r\n", "%09%0D%0A"},
      {std::string("\0\x7F\x80\xFF", 4), "%00%7F%80%FF"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PercentEncode(c.text), c.encoded) << c.text;
}

// The query goes to each placeholder in its form, or at the end of a code
// without one; the code's own text, other braces among it, stays.
TEST(FillSearchCode, PlaceholdersOrTheEnd) {
  struct Case { std::string code, terms, url; } cases[] = {
      {"https://e/s?wd=", "a b", "https://e/s?wd=a%20b"},
      {"https://e/search?q={q}&tbm=isch", "猫", "https://e/search?q=%E7%8C%AB&tbm=isch"},
      {"https://e/?a={q}&b={q}", "x&y", "https://e/?a=x%26y&b=x%26y"},
      {"https://e/?g={q:gbk}", "中文", "https://e/?g=%D6%D0%CE%C4"},
      {"https://e/?g={q:gbk}&u={q}", "中", "https://e/?g=%D6%D0&u=%E4%B8%AD"},
      // GBK has no Korean: sent as a browser's GBK form sends it.
      {"https://e/?g={q:gbk}", "a한", "https://e/?g=a%26%2354620%3B"},
      {"https://web.archive.org/web/*/{q:raw}", "http://a.b/c?d=1 e", "https://web.archive.org/web/*/http://a.b/c?d=1 e"},
      {"https://e/{x}/{Q}/{q:", "a", "https://e/{x}/{Q}/{q:a"},
      {"https://e/{{q}}", "a", "https://e/{a}"},
      {"https://e/s?wd=%s", "a", "https://e/s?wd=%sa"},
      {"", "a/b", "a%2Fb"},
      {"https://e/?q={q}", "", "https://e/?q="},
  };
  for (const Case& c : cases) EXPECT_EQ(FillSearchCode(c.code, c.terms, kGbk), c.url) << c.code;
}

// Whatever the user types, an engine that decodes the address gets back
// exactly the text: every script, every reserved character.
TEST(FillSearchCode, AnEngineDecodesExactlyWhatWasTyped) {
  for (std::string text : {"C++ & C# 100% a/b?c=d", "天气 预报", "한국어 😀 𠮷", "Ärger über \"Zitate\"",
                           "=&?#%+ ;,/:@$!*'()[]"}) {
    for (std::string code : {"https://e/s?wd=", "https://e/search?q={q}&tbm=isch"}) {
      std::string url = FillSearchCode(code, text, kGbk);
      for (char c : url) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << url;
      size_t from = code.find('=') + 1;
      size_t to = url.find("&tbm", from);
      EXPECT_EQ(PercentDecode(url.substr(from, to == std::string::npos ? std::string::npos : to - from)), text);
    }
  }
}

TEST(FillSearchCode, ALoneSurrogateOrAByteEscapeGoesAsTheReplacementCharacter) {
  EXPECT_EQ(FillSearchCode("q=", "a\xED\xA0\x80" "b", kGbk), "q=a%EF%BF%BDb");
  EXPECT_EQ(FillSearchCode("q=", "\xED\xB2\x81", kGbk), "q=%EF%BF%BD");  // the escape of byte 0x81
}

TEST(ComposeSearchUrl, AddressOrTheCodeFilledWithSiteQueryAndKeyword) {
  const std::string p = "https://www.baidu.com/s?wd=";
  struct Case { std::string query; bool siteOn; const char* site; bool keywordOn; std::string url; } cases[] = {
      {"abc", false, "csdn.net", false, p + "abc"},
      {"abc", true, "csdn.net", false, p + "site%3Acsdn.net%20abc"},
      {"abc", true, "csdn.net", true, p + "site%3Acsdn.net%20abc%20MFC"},
      {"abc", false, "csdn.net", true, p + "abc%20MFC"},
      {"www.abc", true, "csdn.net", true, "www.abc"},
      {"WWW.a b/中", false, "", false, "WWW.a b/中"},  // an address is opened as typed
      {"HTTP:abc", true, "csdn.net", false, "HTTP:abc"},
      {"Http://x.y/z?q=1&r=2", false, "", true, "Http://x.y/z?q=1&r=2"},
      {"https:abc", false, "", false, p + "https%3Aabc"},
      {"www", false, "", false, p + "www"},
      {"", true, "csdn.net", true, p + "site%3Acsdn.net%20%20MFC"},
      {"abc", true, "", false, p + "site%3A%20abc"},
      {"百度 一下 ", false, "", true, p + "%E7%99%BE%E5%BA%A6%20%E4%B8%80%E4%B8%8B%20%20MFC"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposeSearchUrl(c.query, p, c.siteOn, c.site, c.keywordOn, "MFC", kGbk), c.url) << c.query;
  }
}

TEST(QueryAsSearched, DropsLeadingWhiteSpaceOnly) {
  struct Case { const char* text; const char* query; } cases[] = {
      {" \t\r\n\v\fwww.abc", "www.abc"}, {"abc  ", "abc  "}, {"   ", ""}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(QueryAsSearched(c.text), c.query);
  EXPECT_TRUE(IsAddress(QueryAsSearched("   www.abc")));
}

TEST(UrlForShell, GivesBareWebAddressesAScheme) {
  struct Case { const char* url; const char* shell; } cases[] = {
      {"www.evil.com", "http://www.evil.com"},
      {"WwW.abc", "http://WwW.abc"},
      {"http://www.abc.com", "http://www.abc.com"},
      {"HTTP:abc", "HTTP:abc"},
      {"https://www.baidu.com/s?wd=www.abc", "https://www.baidu.com/s?wd=www.abc"},
      {"www", "www"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlForShell(c.url), c.shell);
}

// The first word picks the engine whose shortcut it is, when more text
// follows; the rest is what is searched, even when it looks like an address.
TEST(AimQuery, TheFirstWordOnlyWithTextAfterIt) {
  const std::vector<EngineEntry> engines = {
      {"Baidu", "https://b/?q=", "bd"}, {"Google", "https://g/?q=", "g"}, {"None", "https://n/?q=", ""},
      {"Ärger", "https://a/?q={q}", "Äg"}, {"Again g", "https://x/?q=", "G"},
  };
  const size_t none = AimedQuery::npos;
  struct Case { std::string query; size_t engine; std::string terms; } cases[] = {
      {"g 天气", 1, "天气"},
      {"G  天气 预报 ", 1, "天气 预报 "},   // letter case ignored; the first of two holders
      {"g\t天气", 1, "天气"},
      {"g\u3000天气", 1, "天气"},          // an ideographic space
      {"g www.abc.com", 1, "www.abc.com"},  // aimed: searched, not opened
      {"äG x", 3, "x"},                     // any script's letter case
      {"g", none, "g"},                     // a shortcut alone is a query
      {"g   ", none, "g   "},               // nothing after it
      {"gg 天气", none, "gg 天气"},
      {"天气 g", none, "天气 g"},          // a later word is no shortcut
      {" x", none, " x"},                  // no first word (leading blanks were not removed)
      {"bd\u3000", none, "bd\u3000"},
      {"", none, ""},
  };
  for (const Case& c : cases) {
    AimedQuery aim = AimQuery(c.query, engines);
    EXPECT_EQ(aim.engine, c.engine) << c.query;
    EXPECT_EQ(aim.terms, c.terms) << c.query;
  }
}

TEST(ComposeAimedSearchUrl, AnAimedQueryUsesItsEngineWithTheSwitches) {
  const std::vector<EngineEntry> engines = {{"Baidu", "https://b/?q=", "bd"}, {"Maps", "https://m/{q}/x", "m"}};
  EXPECT_EQ(ComposeAimedSearchUrl("m a/b", engines, "https://c/?q=", true, "s.cn", true, "k", kGbk),
            "https://m/site%3As.cn%20a%2Fb%20k/x");
  EXPECT_EQ(ComposeAimedSearchUrl("m www.a.b", engines, "https://c/?q=", false, "", false, "", kGbk),
            "https://m/www.a.b/x");
  EXPECT_EQ(ComposeAimedSearchUrl("www.a.b", engines, "https://c/?q=", false, "", false, "", kGbk), "www.a.b");
  EXPECT_EQ(ComposeAimedSearchUrl("x m", engines, "https://c/?q=", false, "", false, "", kGbk), "https://c/?q=x%20m");
}
