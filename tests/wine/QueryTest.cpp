// A query reaches its engine as the user meant it: encoded for every browser
// choice, aimed at any engine by its shortcut, and handed in from the command
// line to the bar that runs on the settings file, or to one that starts.
// (The rules themselves are the core's, tested there in tables.)
#include <gtest/gtest.h>

#include <algorithm>

#include "DesktopHarness.h"
#include "DialogHarness.h"
#include "resource.h"

namespace {

// The URL a launch line carries: the recorder's arguments without the quotes
// that the shell may put around them.
std::string UrlOf(std::string line) {
  line = line.substr(line.find('\t') + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
  return line;
}

// Twelve engines "引擎k" at http://ek.test/?q=, engine 11 with the shortcut "z".
std::string TwelveEngines() {
  std::vector<std::string> lines{"Number=12"};
  for (int k = 0; k < 12; ++k) {
    lines.push_back("E" + std::to_string(k) + "=引擎" + std::to_string(k));
    lines.push_back("S" + std::to_string(k) + "=http://e" + std::to_string(k) + ".test/?q=");
  }
  lines.push_back("A11=z");
  return Gbk(IniSection("Engine", lines));
}

// Starts Quarrow.exe with `arguments` in `folder` and waits up to `ms` for it
// to end: its exit code and how long it ran, or STILL_ACTIVE (then it is ended).
struct Ended {
  DWORD code = STILL_ACTIVE;
  DWORD ms = 0;
};
Ended RunQuarrow(const std::string& arguments, const std::string& folder, DWORD ms = 10000,
                 const std::function<void(DWORD processId)>& meanwhile = nullptr) {
  PROCESS_INFORMATION process{};
  if (!StartProgram("Quarrow.exe", arguments, 0, folder.c_str(), process)) return {};
  const DWORD start = GetTickCount();
  if (meanwhile) meanwhile(process.dwProcessId);
  Ended ended;
  if (WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &ended.code);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  ended.ms = GetTickCount() - start;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

}  // namespace

// Reserved characters, blanks and any script reach the engine so that it
// decodes exactly what was typed, whether the query goes at the end of the
// code or at its {q}, and whichever browser opens it.
TEST(Query, AnEngineDecodesExactlyWhatWasTypedWithEitherBrowser) {
  const std::string typed = "C++ & C# 100% a/b?c=d 天气";
  for (int useIE : {0, 1}) {
    SCOPED_TRACE(useIE ? "Internet Explorer" : "the default browser");
    BarProcess bar(Gbk(IniSection("Engine", {"Number=2", "E0=End", "S0=http://end.test/s?wd=", "E1=Middle",
                                             "S1=http://mid.test/search?q={q}&tbm=isch"}) +
                       IniSection("Setting", {"UseIE=" + std::to_string(useIE)})));
    ASSERT_TRUE(bar.Started());
    for (int engine : {0, 1}) {
      bar.Command(ID_ENGINE_FIRST + engine);
      bar.SetQuery(typed);
      bar.Click(IDC_SEARCH);
    }
    auto launches = bar.WaitForLaunches(2);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].substr(0, launches[0].find('\t')), useIE ? "iexplore.exe" : "recorder.exe");
    // Two browsers started at once may write their lines in either order.
    std::sort(launches.begin(), launches.end(), [](const std::string& a, const std::string& b) {
      return UrlOf(a) < UrlOf(b);
    });
    const std::string atEnd = UrlOf(launches[0]), inMiddle = UrlOf(launches[1]);
    for (const std::string& url : {atEnd, inMiddle}) {
      for (char c : url) EXPECT_LT(static_cast<unsigned char>(c), 0x80u) << url;  // plain ASCII
    }
    ASSERT_EQ(atEnd.rfind("http://end.test/s?wd=", 0), 0u) << atEnd;
    EXPECT_EQ(PercentDecoded(atEnd.substr(21)), typed);
    const std::string middleStart = "http://mid.test/search?q=", middleEnd = "&tbm=isch";
    ASSERT_EQ(inMiddle.rfind(middleStart, 0), 0u) << inMiddle;
    ASSERT_EQ(inMiddle.substr(inMiddle.size() - middleEnd.size()), middleEnd) << inMiddle;
    EXPECT_EQ(PercentDecoded(inMiddle.substr(middleStart.size(), inMiddle.size() - middleStart.size() - middleEnd.size())),
              typed);
    EXPECT_EQ(bar.QueryList().front(), typed);
  }
}

// "z 天气" searches with engine 11, which the menu does not offer; the Search
// button names it while it is typed and when it is picked from the history,
// and the menu's engine is back once the text aims nowhere.
TEST(Query, AShortcutAimsAtAnEngineBeyondTheMenusTen) {
  BarProcess bar(TwelveEngines());
  ASSERT_TRUE(bar.Started());
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON).size(), 12u);  // ten, a separator, "增加"
  bar.FocusQueryBox();
  TypeText("z");
  SettleAfterInput(bar.Bar());
  EXPECT_EQ(bar.Text(IDC_SEARCH), "引擎0");  // a shortcut alone aims nowhere
  TypeText(" 天气");
  EXPECT_TRUE(WaitFor([&] { return bar.Text(IDC_SEARCH) == "引擎11"; })) << bar.Text(IDC_SEARCH);
  bar.PressKey(VK_RETURN);
  auto launches = bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(UrlOf(launches[0]), "http://e11.test/?q=" + PercentEncoded("天气"));
  EXPECT_EQ(bar.QueryList(), std::vector<std::string>{"z 天气"});  // as typed

  // Aimed, an address is searched, not opened.
  bar.SetQuery("Z www.abc.com");
  EXPECT_TRUE(WaitFor([&] { return bar.Text(IDC_SEARCH) == "引擎11"; }));
  bar.Click(IDC_SEARCH);
  launches = bar.WaitForLaunches(2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(UrlOf(launches[1]), "http://e11.test/?q=www.abc.com");

  bar.SetQuery("天气 z");
  EXPECT_TRUE(WaitFor([&] { return bar.Text(IDC_SEARCH) == "引擎0"; })) << bar.Text(IDC_SEARCH);
  bar.Command(ID_ENGINE_FIRST + 3);
  EXPECT_EQ(bar.Text(IDC_SEARCH), "引擎3");
  bar.FocusQueryBox();
  SendMessageW(bar.Item(IDC_QUERY), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  bar.PressKey(VK_DOWN);  // the history's first entry: "Z www.abc.com"
  EXPECT_TRUE(WaitFor([&] { return bar.Text(IDC_SEARCH) == "引擎11"; })) << bar.Text(IDC_SEARCH);
  bar.SetQuery("");
  EXPECT_TRUE(WaitFor([&] { return bar.Text(IDC_SEARCH) == "引擎3"; })) << bar.Text(IDC_SEARCH);
}

// "Quarrow --search 天气", as the Run box starts it: the running bar searches
// once, as if 天气 had been typed and Entered, and the new start is gone at
// once; with no bar running, the one that starts searches and stays.
TEST(Query, ASearchFromTheCommandLine) {
  BarProcess bar(TwelveEngines());
  ASSERT_TRUE(bar.Started());
  Ended second = RunQuarrow("--search 天气", bar.Folder());
  EXPECT_EQ(second.code, 0u);
  EXPECT_LT(second.ms, 1000u);
  printf("[ query    ] --search to the running bar ended after %lu ms\n", static_cast<unsigned long>(second.ms));
  auto launches = bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(UrlOf(launches[0]), "http://e0.test/?q=" + PercentEncoded("天气"));
  EXPECT_EQ(RunQuarrow("--search \"z a&b\"", bar.Folder()).code, 0u);  // shortcuts apply, quotes optional
  launches = bar.WaitForLaunches(2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(UrlOf(launches[1]), "http://e11.test/?q=a%26b");
  EXPECT_EQ(bar.QueryList(), (std::vector<std::string>{"z a&b", "天气"}));
  Sleep(300);
  EXPECT_EQ(bar.Launches().size(), 2u);  // each search once

  BarProcess started(TwelveEngines(), "--search g 天气");
  ASSERT_TRUE(started.Started());
  launches = started.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(UrlOf(launches[0]), "http://e0.test/?q=" + PercentEncoded("g 天气"));
  EXPECT_FALSE(started.WaitForExit(300));
  EXPECT_EQ(started.Exit(), 0u);
  EXPECT_EQ(ReadKey(started.SettingsPath(), "History", "H0"), "g 天气");
}

// --exit ends the running bar as its Exit command does (saved first); with no
// bar running it starts none. --help shows the usage; an option not
// understood shows it too and ends with code 2. Neither searches.
TEST(Query, ExitHelpAndOptionsNotUnderstood) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  bar.SetQuery("kept");
  bar.Click(IDC_SEARCH);
  EXPECT_EQ(RunQuarrow("--exit", bar.Folder()).code, 0u);
  EXPECT_TRUE(bar.WaitForExit(5000));
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H0"), "kept");
  EXPECT_EQ(RunQuarrow("--exit", bar.Folder()).code, 0u);  // ended at once: no bar was started

  struct Case {
    const char* arguments;
    DWORD code;
    const char* firstLine;
  } cases[] = {{"--help", 0, "用法:"}, {"/?", 0, "用法:"}, {"--frobnicate", 2, "无法识别的命令行: --frobnicate"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    std::optional<MessageBoxSeen> box;
    Ended ended = RunQuarrow(c.arguments, bar.Folder(), 10000, [&](DWORD processId) {
      box = WaitForMessageBox(processId, nullptr);
      if (box) CloseMessageBox(*box);
    });
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Quarrow");
    EXPECT_EQ(box->text.substr(0, box->text.find('\n')), c.firstLine);
    EXPECT_NE(box->text.find("Quarrow --search"), std::string::npos);
    EXPECT_EQ(ended.code, c.code);
  }
  EXPECT_EQ(RecordedLaunches(bar.Folder() + "\\launches.log").size(), 1u);
}
