#include <gtest/gtest.h>

#include "search/SearchUrl.h"

TEST(ComposeSearchUrl, AddressOrConcatenation) {
  const std::string p = "http://www.baidu.com/s?wd=";
  struct Case { std::string query; bool siteOn; const char* site; bool keywordOn; std::string url; } cases[] = {
      {"abc", false, "csdn.net", false, p + "abc"},
      {"abc", true, "csdn.net", false, p + "site:csdn.net abc"},
      {"abc", true, "csdn.net", true, p + "site:csdn.net abc MFC"},
      {"abc", false, "csdn.net", true, p + "abc MFC"},
      {"www.abc", true, "csdn.net", true, "www.abc"},
      {"WWW.abc", false, "", false, "WWW.abc"},
      {"HTTP:abc", true, "csdn.net", false, "HTTP:abc"},
      {"Http://x.y/z", false, "", true, "Http://x.y/z"},
      {"https:abc", false, "", false, p + "https:abc"},
      {"www", false, "", false, p + "www"},
      {"wwwx.abc", false, "", false, p + "wwwx.abc"},
      {"", true, "csdn.net", true, p + "site:csdn.net  MFC"},
      {"abc", true, "", false, p + "site: abc"},
      {"百度 一下 ", false, "", true, p + "百度 一下  MFC"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposeSearchUrl(c.query, p, c.siteOn, c.site, c.keywordOn, "MFC"), c.url) << c.query;
  }
  EXPECT_EQ(ComposeSearchUrl("中文", p, false, "", false, ""), p + "中文");  // as typed, unencoded
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
      {"http://www.baidu.com/s?wd=www.abc", "http://www.baidu.com/s?wd=www.abc"},
      {"www", "www"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlForShell(c.url), c.shell);
}
