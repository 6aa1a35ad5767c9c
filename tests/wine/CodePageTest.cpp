// The program on a Windows whose code page for programs that are not Unicode
// is not GBK's: CTest runs this suite in Wine prefixes whose locale gives
// code page 1252 (Western) and 932 (Japanese), and names the code page it
// expects in QUARROW_EXPECTED_ACP. Every Chinese text must show as it is,
// reach the browser as typed, and reach Quarrow.ini as GBK bytes, as on a
// Chinese system.
#include <gtest/gtest.h>

#include <cwchar>

#include "DesktopHarness.h"
#include "DialogHarness.h"
#include "resource.h"

namespace {

const std::string kBaidu = "https://www.baidu.com/s?wd=";
const std::string kDefaultOptions = IniSection("Setting", {"UseIE=0", "DoubleClickRight=1", "UseImg=1"});

// The code page the suite was started for; 0 when none was named.
UINT ExpectedCodePage() {
  wchar_t text[16] = {};
  if (!GetEnvironmentVariableW(L"QUARROW_EXPECTED_ACP", text, 16)) return 0;
  return static_cast<UINT>(wcstoul(text, nullptr, 10));
}

// Runs only where a code page was named, and only when the system really has
// it: under GBK's own code page the suite would pass by accident.
#define REQUIRE_CODE_PAGE()                                                                            \
  if (!ExpectedCodePage()) GTEST_SKIP() << "no code page named (ctest runs wine_tests_code_page_*)"; \
  ASSERT_EQ(GetACP(), ExpectedCodePage()) << "the locale did not give the code page"

// The text of the URL the recorder saw in line `count`, without the quotes
// the shell puts around it.
std::string LaunchedUrl(const BarProcess& bar, size_t count) {
  auto lines = bar.WaitForLaunches(count);
  if (lines.size() < count) return "(no launch " + std::to_string(count) + ")";
  std::string url = lines[count - 1].substr(lines[count - 1].find('\t') + 1);
  if (url.size() >= 2 && url.front() == '"' && url.back() == '"') url = url.substr(1, url.size() - 2);
  return url;
}

// `count` entries (the first ones given, then `fallback`: what a list whose
// "Number" is missing reads), a separator and "增加".
std::vector<std::string> MenuEntries(std::vector<std::string> first, const std::string& fallback,
                                     size_t count = 10) {
  first.resize(count, fallback);
  first.insert(first.end(), {"", "增加"});
  return first;
}

}  // namespace

// A first start writes its starter file as GBK, whatever the code page, and
// shows its Chinese names.
TEST(CodePage, WithoutASettingsFileTheBarShowsItsChineseDefaults) {
  REQUIRE_CODE_PAGE();
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  EXPECT_EQ(bar.SettingsBytes(), StarterSettings());
  EXPECT_EQ(bar.Text(IDC_SEARCH), "百度一下");
  EXPECT_EQ(bar.Text(IDC_KEYWORD_BUTTON), "MFC");
  EXPECT_EQ(bar.Text(IDC_SITE_BUTTON), "csdn.net");
  std::vector<std::string> engines;
  for (const StarterEngine& engine : StarterEngines()) engines.push_back(engine.name);
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON), MenuEntries(engines, ""));
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_KEYWORD_BUTTON), MenuEntries({"MFC"}, "", 1));
  bar.SetCheck(IDC_SITE_SWITCH, true);
  bar.SetCheck(IDC_KEYWORD_SWITCH, true);
  bar.SetQuery("默认");
  bar.Click(IDC_SEARCH);
  EXPECT_EQ(LaunchedUrl(bar, 1), kBaidu + PercentEncoded("site:csdn.net 默认 MFC"));
}

// A GBK file, as every Quarrow.ini was written, read and written as GBK
// whatever the system's code page.
TEST(CodePage, AGbkSettingsFileShowsItsChineseTextsAndIsSavedAsGbk) {
  REQUIRE_CODE_PAGE();
  const std::string lists =
      "[Engine]\r\nE0=百度\r\nS0=http://www.baidu.com/s?wd=\r\nE1=谷歌搜索\r\nS1=http://e1.test/?q=\r\n"
      "[Key]\r\nK0=教程\r\nK1=中文\r\n"
      "[Site]\r\nS0=中文网.cn\r\nS1=b.org\r\n";
  BarProcess bar(Gbk(lists + "[History]\r\nH0=最近的搜索\r\nH1=历史\r\n"));
  ASSERT_TRUE(bar.Started());
  EXPECT_EQ(bar.Text(IDC_SEARCH), "百度");
  EXPECT_EQ(bar.Text(IDC_KEYWORD_BUTTON), "教程");
  EXPECT_EQ(bar.Text(IDC_SITE_BUTTON), "中文网.cn");
  EXPECT_EQ(bar.QueryList(), (std::vector<std::string>{"最近的搜索", "历史"}));
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON), MenuEntries({"百度", "谷歌搜索"}, "百度一下"));
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_KEYWORD_BUTTON), MenuEntries({"教程", "中文"}, "MFC"));
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_SITE_BUTTON), MenuEntries({"中文网.cn", "b.org"}, "csdn.net"));

  bar.Command(ID_ENGINE_FIRST + 1);
  bar.Command(ID_KEYWORD_FIRST + 1);
  EXPECT_EQ(bar.Text(IDC_SEARCH), "谷歌搜索");
  EXPECT_EQ(bar.Text(IDC_KEYWORD_BUTTON), "中文");
  bar.SetCheck(IDC_SITE_SWITCH, true);
  bar.SetCheck(IDC_KEYWORD_SWITCH, true);
  bar.SetQuery("查询");
  bar.Click(IDC_SEARCH);
  EXPECT_EQ(LaunchedUrl(bar, 1), "http://e1.test/?q=" + PercentEncoded("site:中文网.cn 查询 中文"));
  EXPECT_EQ(bar.QueryList(), (std::vector<std::string>{"查询", "最近的搜索", "历史"}));

  ASSERT_EQ(bar.Exit(), 0u);
  EXPECT_EQ(bar.SettingsBytes(), Gbk(lists + HistorySection({"查询", "最近的搜索", "历史"}) + kDefaultOptions));
}

// Names typed into the dialogs reach the file as GBK bytes, without a
// byte-order mark, and come back in the bar's menus.
TEST(CodePage, TheEngineAndKeywordDialogsAddChineseNamesAsGbk) {
  REQUIRE_CODE_PAGE();
  const std::string baidu = "S0=" + kBaidu;
  BarProcess bar(Gbk(IniSection("Engine", {"Number=1", "E0=百度", baidu}) + IniSection("Key", {"Number=1", "K0=教程"})));
  ASSERT_TRUE(bar.Started());

  HWND window = OpenDialog(bar, ID_EDIT_ENGINES, "搜索引擎设置");
  ASSERT_NE(window, nullptr);
  {
    DialogDriver dialog(bar, window);
    RemoteListView list(bar.ProcessHandle(), dialog.Item(IDC_ENGINE_LIST));
    dialog.SetText(IDC_ENGINE_NAME, "中文引擎");
    dialog.SetText(IDC_ENGINE_CODE, "http://zh.test/?q=");
    dialog.Click(IDC_ENGINE_ADD);
    EXPECT_EQ(list.Rows(), (std::vector<std::vector<std::string>>{{"0", "百度", kBaidu},
                                                                   {"1", "中文引擎", "http://zh.test/?q="}}));
    dialog.ClickLater(IDC_ENGINE_ADD);  // once more: the name is there already
    auto box = WaitForMessageBox(bar.ProcessId(), window);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "中文引擎 已经存在!");
    CloseMessageBox(*box);
    ASSERT_TRUE(dialog.End(IDOK));
  }

  window = OpenDialog(bar, ID_EDIT_KEYWORDS_SITES, "关键词(Key)网站(Site)设置");
  ASSERT_NE(window, nullptr);
  {
    DialogDriver dialog(bar, window);
    dialog.SetText(IDC_KEYWORD_EDIT, "关键词");
    dialog.Click(IDC_KEYWORD_ADD);
    dialog.SetText(IDC_SITE_EDIT, "中文网.cn");
    dialog.Click(IDC_SITE_ADD);
    EXPECT_EQ(ListBoxItems(dialog.Item(IDC_KEYWORD_LIST)), (std::vector<std::string>{"教程", "关键词"}));
    ASSERT_TRUE(dialog.End(IDOK));
  }

  std::vector<std::string> sites{"Number=11"};
  for (int k = 0; k < 10; ++k) sites.push_back("S" + std::to_string(k) + "=csdn.net");
  sites.push_back("S10=中文网.cn");
  EXPECT_EQ(bar.SettingsBytes(),
            Gbk(IniSection("Engine", {"Number=2", "E0=百度", baidu, "E1=中文引擎", "S1=http://zh.test/?q="}) +
                IniSection("Key", {"Number=2", "K0=教程", "K1=关键词"}) + IniSection("Site", sites)));

  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON), MenuEntries({"百度", "中文引擎"}, "", 2));
  bar.Command(ID_ENGINE_FIRST + 1);
  bar.Command(ID_KEYWORD_FIRST + 1);
  EXPECT_EQ(bar.Text(IDC_SEARCH), "中文引擎");
  EXPECT_EQ(bar.Text(IDC_KEYWORD_BUTTON), "关键词");
}

TEST(CodePage, AChineseQueryTypedInTheBoxReachesTheBrowserAsTyped) {
  REQUIRE_CODE_PAGE();
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  bar.FocusQueryBox();
  TypeText("中文 搜索");
  EXPECT_TRUE(WaitFor([&] { return bar.Text(IDC_QUERY) == "中文 搜索"; })) << bar.Text(IDC_QUERY);
  bar.PressKey(VK_RETURN);
  EXPECT_EQ(LaunchedUrl(bar, 1), kBaidu + PercentEncoded("中文 搜索"));
  EXPECT_EQ(bar.QueryList(), std::vector<std::string>{"中文 搜索"});
}

TEST(CodePage, TheAboutBoxIsFoundByItsChineseTitle) {
  REQUIRE_CODE_PAGE();
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  bar.CommandLater(ID_ABOUT);
  HWND about = nullptr;
  // Shown, so that its controls are made; the window has its title before.
  ASSERT_TRUE(WaitFor([&] {
    about = FindWindowW(L"#32770", Wide("关于 Quarrow").c_str());
    return about && IsWindowVisible(about);
  }, 5000, 20));
  SyncWith(about);
  DWORD processId = 0;
  GetWindowThreadProcessId(about, &processId);
  EXPECT_EQ(processId, bar.ProcessId());
  EXPECT_EQ(TextOf(GetDlgItem(about, IDC_HOME_PAGE_LINK)), "访问作者主页");
  PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntilGone(about));
}
