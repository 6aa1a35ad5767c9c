// The search bar end to end: the real Quarrow.exe in a fresh folder, driven
// from outside, with a recorder standing in for the browsers.
#include <functional>

#include <gtest/gtest.h>

#include "DesktopHarness.h"
#include "resource.h"

namespace {

const std::string kBaidu = "https://www.baidu.com/s?wd=";

// "<program>\t<arguments>" of the recorder, with one pair of quotes that the
// shell may put around the URL taken off.
struct Launch {
  std::string program, url;
};

Launch ParseLaunch(const std::string& line) {
  size_t tab = line.find('\t');
  Launch launch{line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)};
  std::string& url = launch.url;
  if (!url.empty() && url.back() == '\r') url.pop_back();
  if (url.size() >= 2 && url.front() == '"' && url.back() == '"') url = url.substr(1, url.size() - 2);
  return launch;
}

Launch LastLaunch(const BarProcess& bar, size_t count) {
  auto lines = bar.WaitForLaunches(count);
  if (lines.size() < count) return {};
  return ParseLaunch(lines[count - 1]);
}

const std::string kDefaultOptions = IniSection("Setting", {"UseIE=0", "DoubleClickRight=1", "UseImg=1"});

}  // namespace

TEST(SearchBar, StartsWithDefaultsCentredTopmostWithoutTaskbarButton) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  EXPECT_EQ(bar.Text(IDC_SEARCH), "百度一下");
  EXPECT_EQ(bar.Text(IDC_KEYWORD_BUTTON), "MFC");
  EXPECT_EQ(bar.Text(IDC_SITE_BUTTON), "csdn.net");
  EXPECT_TRUE(IsWindowVisible(bar.Bar()));

  LONG exStyle = GetWindowLongW(bar.Bar(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);

  RECT window{}, area{};
  GetWindowRect(bar.Bar(), &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  int width = window.right - window.left, height = window.bottom - window.top;
  EXPECT_NEAR(window.left, (area.left + area.right - width) / 2, 1);
  EXPECT_NEAR(window.top, (area.top + area.bottom - height) / 2, 1);
  // A first start writes the starter file before it shows, and nothing else
  // before the save step: ten different engines, one keyword, one site.
  EXPECT_EQ(bar.SettingsBytes(), StarterSettings());
  std::vector<std::string> engines;
  for (const StarterEngine& engine : StarterEngines()) engines.push_back(engine.name);
  engines.insert(engines.end(), {"", "增加"});
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON), engines);
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_KEYWORD_BUTTON), (std::vector<std::string>{"MFC", "", "增加"}));
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_SITE_BUTTON), (std::vector<std::string>{"csdn.net", "", "增加"}));
  EXPECT_EQ(bar.SettingsBytes().find("http:"), std::string::npos);
}


// The URL's rules are the core's (its tests hold the table); here, that the
// bar hands them the query box, both switches and the buttons' captions, and
// launches what comes back, every character as it was.
TEST(SearchBar, EnterAndTheSearchButtonLaunchTheComposedUrl) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  struct Case {
    const char* query;
    bool site, keyword;
    std::string url;
  } cases[] = {
      {"abc", false, false, kBaidu + "abc"},
      {"  百度 中文", true, true, kBaidu + PercentEncoded("site:csdn.net 百度 中文 MFC")},
      {"", true, false, kBaidu + PercentEncoded("site:csdn.net ")},  // an empty query is searched too
  };
  size_t launches = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    bar.SetCheck(IDC_SITE_SWITCH, c.site);
    bar.SetCheck(IDC_KEYWORD_SWITCH, c.keyword);
    bar.SetQuery(c.query);
    bar.Click(IDC_SEARCH);
    Launch launch = LastLaunch(bar, ++launches);
    EXPECT_EQ(launch.program, "recorder.exe");
    EXPECT_EQ(launch.url, c.url);
    // The query box keeps its text.
    EXPECT_EQ(bar.Text(IDC_QUERY), c.query);
  }
  // Enter presses the default button, which is Search.
  bar.SetCheck(IDC_SITE_SWITCH, false);
  bar.SetCheck(IDC_KEYWORD_SWITCH, false);
  bar.SetQuery("enter");
  bar.FocusQueryBox();
  bar.PressKey(VK_RETURN);
  EXPECT_EQ(LastLaunch(bar, ++launches).url, kBaidu + "enter");
}

// The history's rules are the core's; here, that the bar records what it
// searches, shows the list most recent first, deletes the selected entry with
// Delete and saves what the list holds.
TEST(SearchBar, HistoryListShowsMostRecentFirstAndDeleteRemovesTheSelectedEntry) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  for (const char* query : {"abc", "x", "ab", "  x", ""}) {
    bar.SetQuery(query);
    bar.Click(IDC_SEARCH);
  }
  // "ab" replaced "abc" (a longer entry beginning with it); "  x" was searched
  // as "x" and replaced the earlier "x"; the empty query was not recorded.
  ASSERT_EQ(bar.QueryList(), (std::vector<std::string>{"x", "ab"}));
  SendMessageW(bar.Item(IDC_QUERY), CB_SETCURSEL, 1, 0);
  bar.FocusQueryBox();
  bar.PressKey(VK_DELETE);
  EXPECT_EQ(bar.QueryList(), std::vector<std::string>{"x"});
  // Without a current selection Delete only edits the text.
  SendMessageW(bar.Item(IDC_QUERY), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  bar.PressKey(VK_DELETE);
  EXPECT_EQ(bar.QueryList(), std::vector<std::string>{"x"});
  EXPECT_EQ(bar.Exit(), 0u);
  EXPECT_EQ(bar.SettingsBytes(), StarterSettings() + Gbk(HistorySection({"x"}) + kDefaultOptions));
}

// The list is filled from the history only when something first needs it.
// Whatever comes first, a key in the query box, a search or the exit, finds
// the history whole and in order, and the list then shows exactly it.
TEST(SearchBar, TheHistoryIsWholeWhateverReachesItFirst) {
  struct Case {
    const char* first;
    std::function<void(BarProcess&)> act;
    std::string query;  // the query box's text after it
    std::vector<std::string> history;
  };
  const Case cases[] = {
      {"Down in the query box",
       [](BarProcess& bar) {
         bar.FocusQueryBox();
         bar.PressKey(VK_DOWN);
       },
       "older", {"older", "oldest"}},
      {"a search of an entry it holds",
       [](BarProcess& bar) {
         bar.SetQuery("oldest");
         bar.Click(IDC_SEARCH);
       },
       "oldest", {"oldest", "older"}},
      {"a new search",
       [](BarProcess& bar) {
         bar.SetQuery("new");
         bar.Click(IDC_SEARCH);
       },
       "new", {"new", "older", "oldest"}},
      {"the exit", [](BarProcess&) {}, "", {"older", "oldest"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    BarProcess bar(HistorySection({"older", "oldest"}) + kDefaultOptions);
    ASSERT_TRUE(bar.Started());
    c.act(bar);
    EXPECT_EQ(bar.Text(IDC_QUERY), c.query);
    if (!c.query.empty()) {
      EXPECT_EQ(bar.QueryList(), c.history);
    }
    EXPECT_EQ(bar.Exit(), 0u);
    EXPECT_EQ(bar.SettingsBytes(), HistorySection(c.history) + kDefaultOptions);
  }
}

// A query in any script reaches the browser exactly as typed and comes back
// after a restart. GBK holds none of these: the save writes the whole file as
// UTF-16 LE with a byte-order mark, every other line kept as text, and the
// platform's own reader reads it.
TEST(SearchBar, AQueryInAnyScriptReachesTheBrowserAndStaysInTheHistory) {
  const char* queries[] = {"한국어 검색", "🍜 라멘", "𠮷野家"};
  for (const std::string query : queries) {
    SCOPED_TRACE(query);
    const std::string before = "; 备注\r\n[History]\r\nH0=中文\r\n";
    BarProcess bar(Gbk(before));
    ASSERT_TRUE(bar.Started());
    bar.SetQuery(query);
    bar.Click(IDC_SEARCH);
    EXPECT_EQ(LastLaunch(bar, 1).url, kBaidu + PercentEncoded(query));
    EXPECT_EQ(bar.QueryList(), (std::vector<std::string>{query, "中文"}));
    ASSERT_EQ(bar.Exit(), 0u);
    const std::string saved = bar.SettingsBytes();
    EXPECT_EQ(saved, Utf16File("; 备注\r\n" + HistorySection({query, "中文"}) + kDefaultOptions))
        << "as text: " << FromUtf16File(saved).value_or("(no UTF-16 byte-order mark) " + saved);
    EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H0"), query);

    BarProcess again(saved);
    ASSERT_TRUE(again.Started());
    EXPECT_EQ(again.QueryList(), (std::vector<std::string>{query, "中文"}));
    again.SetQuery("  " + query);
    again.Click(IDC_SEARCH);
    EXPECT_EQ(LastLaunch(again, 1).url, kBaidu + PercentEncoded(query));
  }
}

TEST(SearchBar, CtrlASelectsTheWholeQueryAndAAloneTypes) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  bar.SetQuery("hello");
  bar.FocusQueryBox();
  SendMessageW(bar.Item(IDC_QUERY), CB_SETEDITSEL, 0, MAKELPARAM(2, 2));
  bar.PressKey('A', true);
  DWORD start = 0, end = 0;
  SendMessageW(bar.Item(IDC_QUERY), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);
  EXPECT_EQ(bar.Text(IDC_QUERY), "hello");
  bar.PressKey('A');  // replaces the selection with an a
  EXPECT_EQ(bar.Text(IDC_QUERY), "a");
}

// What a hand-written file holds shows in the bar and its three menus (ten
// entries, a separator and "增加"); the menus' commands set the buttons (the
// engine's icon too), and the search reads them.
TEST(SearchBar, SettingsShowInTheBarAndTheMenusSetTheButtonsThatTheSearchReads) {
  std::string ini = "[Engine]\r\n";
  for (int i = 0; i < 10; ++i) {
    ini += "E" + std::to_string(i) + "=引擎" + std::to_string(i) + "\r\n";
    ini += "S" + std::to_string(i) + "=http://e" + std::to_string(i) + ".test/?q=\r\n";
  }
  ini += "[Key]\r\nK0=教程\r\nK7=k7\r\n[Site]\r\nS0=s0.org\r\nS3=s3.org\r\n"
         "[History]\r\nH0=最近\r\nH1=\r\nH2=older\r\n";
  BarProcess bar(Gbk(ini));
  ASSERT_TRUE(bar.Started());
  EXPECT_EQ(bar.Text(IDC_SEARCH), "引擎0");
  EXPECT_EQ(bar.Text(IDC_KEYWORD_BUTTON), "教程");
  EXPECT_EQ(bar.Text(IDC_SITE_BUTTON), "s0.org");
  EXPECT_EQ(bar.QueryList(), (std::vector<std::string>{"最近", "older"}));
  std::vector<std::string> engines, keywords(10, "MFC"), sites(10, "csdn.net");
  for (int i = 0; i < 10; ++i) engines.push_back("引擎" + std::to_string(i));
  keywords[0] = "教程";
  keywords[7] = "k7";
  sites[0] = "s0.org";
  sites[3] = "s3.org";
  for (auto* entries : {&engines, &keywords, &sites}) entries->insert(entries->end(), {"", "增加"});
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON), engines);
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_KEYWORD_BUTTON), keywords);
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_SITE_BUTTON), sites);
  auto icon = [&] { return SendMessageW(bar.Item(IDC_ENGINE_BUTTON), BM_GETIMAGE, IMAGE_ICON, 0); };
  const LRESULT firstIcon = icon();
  EXPECT_NE(firstIcon, 0);

  bar.Command(ID_ENGINE_FIRST + 4);
  bar.Command(ID_KEYWORD_FIRST + 7);
  bar.Command(ID_SITE_FIRST + 3);
  EXPECT_EQ(bar.Text(IDC_SEARCH), "引擎4");
  EXPECT_NE(icon(), firstIcon);
  EXPECT_EQ(bar.Text(IDC_KEYWORD_BUTTON), "k7");
  EXPECT_EQ(bar.Text(IDC_SITE_BUTTON), "s3.org");
  bar.Command(ID_SITE_FIRST + 5);  // missing in the file: the default site
  EXPECT_EQ(bar.Text(IDC_SITE_BUTTON), "csdn.net");
  bar.Command(ID_SITE_FIRST + 3);
  bar.SetCheck(IDC_SITE_SWITCH, true);
  bar.SetCheck(IDC_KEYWORD_SWITCH, true);
  bar.SetQuery("搜索");
  bar.Click(IDC_SEARCH);
  EXPECT_EQ(LastLaunch(bar, 1).url, "http://e4.test/?q=" + PercentEncoded("site:s3.org 搜索 k7"));

  bar.Command(ID_ENGINE_FIRST);
  EXPECT_EQ(icon(), firstIcon);
}

TEST(SearchBar, TheEngineMenuOpensBelowItsButtonAndChoosesByKeyboard) {
  BarProcess bar("[Engine]\r\nE1=second\r\nS1=http://second.test/?q=\r\n");
  ASSERT_TRUE(bar.Started());
  bar.FocusQueryBox();
  bar.ClickLater(IDC_ENGINE_BUTTON);
  // The menu is a window of its own while it is tracked.
  HWND menu = desktop_test::WaitForPopupMenu(bar.ProcessId());
  ASSERT_NE(menu, nullptr);
  RECT button{}, popup{};
  GetWindowRect(bar.Item(IDC_ENGINE_BUTTON), &button);
  GetWindowRect(menu, &popup);
  EXPECT_EQ(popup.left, button.left);
  EXPECT_EQ(popup.top, button.bottom);
  bar.PressKey(VK_DOWN);  // nothing is highlighted at first: item 0
  bar.PressKey(VK_DOWN);  // item 1
  bar.PressKey(VK_RETURN);
  // A sent message is answered inside the menu's own loop, so Sync alone does
  // not prove the keys were handled: wait for the caption.
  WaitFor([&] { return bar.Text(IDC_SEARCH) == "second"; });
  EXPECT_EQ(bar.Text(IDC_SEARCH), "second");
}

TEST(SearchBar, ExitAndCloseSaveHistoryThenOptions) {
  for (bool close : {false, true}) {
    SCOPED_TRACE(close ? "close request" : "exit command");
    BarProcess bar("[Setting]\r\nUseIE=7\r\nDoubleClickRight=0\r\nUseImg=0\r\n");
    ASSERT_TRUE(bar.Started());
    bar.SetQuery("saved");
    bar.Click(IDC_SEARCH);
    EXPECT_EQ(close ? bar.Close() : bar.Exit(), 0u);
    EXPECT_EQ(bar.SettingsBytes(),
              IniSection("Setting", {"UseIE=1", "DoubleClickRight=0", "UseImg=0"}) + HistorySection({"saved"}));
  }
}

TEST(SearchBar, UseIEOpensInternetExplorerWithTheUrlAsItsArgument) {
  BarProcess bar("[Setting]\r\nUseIE=1\r\n");
  ASSERT_TRUE(bar.Started());
  bar.SetQuery("www.abc.com");
  bar.Click(IDC_SEARCH);
  Launch launch = LastLaunch(bar, 1);
  EXPECT_EQ(launch.program, "iexplore.exe");
  EXPECT_EQ(launch.url, "www.abc.com");
}

// A program named like a typed address in the settings folder must not run.
TEST(SearchBar, AnAddressNeverStartsAProgramOfThatName) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  std::string decoy = bar.Folder() + "\\www.evil.com";
  ASSERT_TRUE(CopyFileW(Wide(ProgramFolder() + "\\recorder.exe").c_str(), Wide(decoy).c_str(), FALSE));
  bar.SetQuery("www.evil.com");
  bar.Click(IDC_SEARCH);
  Launch launch = LastLaunch(bar, 1);
  EXPECT_EQ(launch.program, "recorder.exe");
  EXPECT_EQ(launch.url, "http://www.evil.com");
}

// Wine's shell overruns its buffer with a long URL; the bar keeps such a URL
// from it (a failed launch, not reported) and records the query as usual.
TEST(SearchBar, UnderWineAUrlTooLongForTheShellIsNotLaunched) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  std::string fits(900 - kBaidu.size(), 'a'), tooLong(901 - kBaidu.size(), 'b');
  bar.SetQuery(fits);
  bar.Click(IDC_SEARCH);
  EXPECT_EQ(LastLaunch(bar, 1).url, kBaidu + fits);
  bar.SetQuery(tooLong);
  bar.Click(IDC_SEARCH);
  Sleep(500);
  EXPECT_EQ(bar.Launches().size(), 1u);
  EXPECT_EQ(bar.QueryList(), (std::vector<std::string>{tooLong, fits}));
  EXPECT_EQ(bar.Exit(), 0u);
}
