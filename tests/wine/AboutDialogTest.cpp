// The About box end to end (its link seen on screen, clicked with the mouse,
// opened through the shell), and the hyperlink control on its own, in this
// process, on static controls of every kind.
#include <windows.h>
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "dialogs/win/HyperLink.h"
#include "resource.h"

namespace {

const std::string kCaption = "关于 Quarrow";
const std::string kHomePage = "https://quarrow.example.org/";
constexpr DWORD kBlue = Rgb(0, 0, 255);
constexpr DWORD kPurple = Rgb(128, 0, 128);

HCURSOR CursorShown() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  GetCursorInfo(&info);
  return info.hCursor;
}

// The cursor put at a point of `window`, and the window's answer awaited.
void MoveMouseTo(HWND window, POINT client) {
  ClientToScreen(window, &client);
  SetCursorPos(client.x, client.y);
  SettleAfterInput(window);
}

// The link as the screen shows it once `colour` is in it, or after three
// seconds: Wine puts a paint on the screen a moment after it is made.
ScreenImage LinkShowing(HWND link, DWORD colour) {
  ScreenImage image;
  WaitFor([&] { return CountPixels(image = CaptureClient(link), colour) > 0; }, 3000, 50);
  return image;
}

}  // namespace

TEST(AboutDialog, ShowsTheAddressAndABlueUnderlinedLinkThatTurnsPurpleWhenOpened) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  HWND window = OpenDialog(bar, ID_ABOUT, kCaption);
  ASSERT_TRUE(window);
  DialogDriver dialog(bar, window);
  SaveScreenshot(window, "100-about");
  EXPECT_EQ(dialog.Text(IDC_CONTACT_ADDRESS), "quarrow@example.org");
  EXPECT_TRUE(GetWindowLongW(dialog.Item(IDC_CONTACT_ADDRESS), GWL_STYLE) & ES_READONLY);
  HWND link = dialog.Item(IDC_HOME_PAGE_LINK);
  EXPECT_EQ(TextOf(link), "访问作者主页");

  ScreenImage before = LinkShowing(link, kBlue);
  EXPECT_GT(CountPixels(before, kBlue), 0);
  EXPECT_EQ(CountPixels(before, kPurple), 0);
  // The underline cannot be seen here: Wine's static control selects its own
  // font after asking its parent for colours, where Windows selects it
  // before. The link's answer to the colour query is tested below (LinkTest).

  // The hand over the link, the usual cursor beside it.
  RECT linkRect{};
  GetClientRect(link, &linkRect);
  MoveMouseTo(window, POINT{2, 2});
  HCURSOR beside = CursorShown();
  MoveMouseTo(link, POINT{linkRect.right / 2, linkRect.bottom / 2});
  HCURSOR over = CursorShown();
  EXPECT_NE(over, nullptr);
  EXPECT_NE(over, beside);

  dialog.MouseClick(link, linkRect);
  auto launches = bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_NE(launches[0].find(kHomePage), std::string::npos) << launches[0];
  ScreenImage after = LinkShowing(link, kPurple);
  EXPECT_EQ(CountPixels(after, kBlue), 0);
  EXPECT_GT(CountPixels(after, kPurple), 0);

  // OK closes it; a new About box starts blue again.
  dialog.ClickLater(IDOK);
  ASSERT_TRUE(WaitUntilGone(window));
  window = OpenDialog(bar, ID_ABOUT, kCaption);
  ASSERT_TRUE(window);
  ScreenImage again = LinkShowing(GetDlgItem(window, IDC_HOME_PAGE_LINK), kBlue);
  EXPECT_GT(CountPixels(again, kBlue), 0);
  EXPECT_EQ(CountPixels(again, kPurple), 0);
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);  // Esc and the close box send this
  EXPECT_TRUE(WaitUntilGone(window));
  EXPECT_EQ(bar.SettingsBytes(), StarterSettings());  // the About box writes nothing
}

// ---- HyperLink in this process, on static controls of a plain window.

namespace {

class LinkTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuarrowLinkTestParent";
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassW(&windowClass);
    RegisterBrowserRecorders();
  }

  void SetUp() override {
    m_parent = CreateWindowW(L"QuarrowLinkTestParent", L"links", WS_POPUP | WS_VISIBLE, 10, 10, 400, 200, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    m_font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    m_record = Utf8(folder) + "quarrow-links-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileW(Wide(m_record).c_str());
    SetEnvironmentVariableW(L"QUARROW_RECORD_FILE", Wide(m_record).c_str());
  }

  void TearDown() override {
    DestroyWindow(m_parent);
    DeleteObject(m_font);
    DeleteFileW(Wide(m_record).c_str());
  }

  HWND Static(const char* text, DWORD style, int id = 0) {
    HWND control = CreateWindowW(L"Static", Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 10, 10 + 30 * (m_count++ % 5), 200,
                                 24, m_parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    return control;
  }

  // What the reflected colour query answers, and what it did to the DC.
  struct ColorAnswer {
    HBRUSH brush;
    COLORREF textColor;
    int backgroundMode;
    LOGFONTW font;
    HGDIOBJ fontObject;
  };
  ColorAnswer AskColors(HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    ColorAnswer answer{};
    answer.brush = reinterpret_cast<HBRUSH>(SendMessageW(control, Dialog::kReflectBase + WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(control)));
    answer.textColor = GetTextColor(dc);
    answer.backgroundMode = GetBkMode(dc);
    answer.fontObject = GetCurrentObject(dc, OBJ_FONT);
    GetObjectW(answer.fontObject, sizeof answer.font, &answer.font);
    DeleteDC(dc);
    return answer;
  }

  std::vector<std::string> Launches(size_t atLeast, DWORD ms) {
    std::vector<std::string> lines;
    WaitFor([&] { return (lines = RecordedLaunches(m_record)).size() >= atLeast; }, ms);
    return lines;
  }

  HWND m_parent = nullptr;
  HFONT m_font = nullptr;
  std::string m_record;
  int m_count = 0;
};

}  // namespace

TEST_F(LinkTest, TextStaticsGetTheUnderlinedFontAndLinkColourOthersAreLeftAlone) {
  LOGFONTW own{};
  GetObjectW(m_font, sizeof own, &own);
  struct Case {
    const char* name;
    DWORD style;
    bool drawnAsLink;
  } cases[] = {
      {"left", SS_LEFT, true},          {"centred", SS_CENTER, true},   {"right", SS_RIGHT, true},
      {"icon", SS_ICON, false},         {"black frame", SS_BLACKRECT, false},
      {"simple", SS_SIMPLE, false},     {"bitmap", SS_BITMAP, false},   {"etched", SS_ETCHEDHORZ, false},
      // The type is the style's whole low byte, so "no prefix" text counts as another type.
      {"left, no prefix", SS_LEFT | SS_NOPREFIX, false},
      {"left, notify", SS_LEFT | SS_NOTIFY, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HyperLink link(kHomePage);
    ASSERT_TRUE(link.Subclass(Static("text", c.style)));
    ColorAnswer answer = AskColors(link.Hwnd());
    if (!c.drawnAsLink) {
      EXPECT_EQ(answer.brush, nullptr);
      EXPECT_EQ(answer.textColor, RGB(1, 2, 3));
      EXPECT_EQ(answer.backgroundMode, OPAQUE);
      EXPECT_FALSE(link.UnderlineFont());
      continue;
    }
    EXPECT_EQ(answer.brush, GetStockObject(NULL_BRUSH));
    EXPECT_EQ(answer.textColor, RGB(0, 0, 255));
    EXPECT_EQ(answer.backgroundMode, TRANSPARENT);
    EXPECT_EQ(answer.font.lfUnderline, 1);
    EXPECT_EQ(answer.font.lfHeight, own.lfHeight);
    EXPECT_EQ(std::wstring(answer.font.lfFaceName), std::wstring(own.lfFaceName));
    // Made once, on the first drawing, and used from then on.
    EXPECT_EQ(AskColors(link.Hwnd()).fontObject, answer.fontObject);
    EXPECT_EQ(link.UnderlineFont(), answer.fontObject);
  }
}

TEST_F(LinkTest, AnyStaticTakesTheMouse) {
  HWND plain = Static("plain", SS_LEFT);
  EXPECT_EQ(SendMessageW(plain, WM_NCHITTEST, 0, 0), HTTRANSPARENT);  // without the link
  for (DWORD style : {SS_LEFT, SS_ICON, SS_BITMAP}) {
    HyperLink link(kHomePage);
    ASSERT_TRUE(link.Subclass(Static("", style)));
    EXPECT_EQ(SendMessageW(link.Hwnd(), WM_NCHITTEST, 0, 0), HTCLIENT);
  }
}

// The target opens whatever the caption says; a target the shell cannot open
// only beeps; no target does nothing.
TEST_F(LinkTest, AClickOpensTheTargetAndTurnsPurpleOnlyOnSuccess) {
  struct Case {
    const char* name;
    const char* target;
    const char* caption;
    const char* opened;  // what reaches the browser, or null
  } cases[] = {
      {"assigned target", "http://assigned.test/", "http://caption.test/", "http://assigned.test/"},
      {"nothing", "", "http://caption.test/", nullptr},
      {"unopenable", "Z:\\no\\such\\folder\\file.quarrow-none", "x", nullptr},
  };
  size_t opened = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HyperLink link(c.target);
    ASSERT_TRUE(link.Subclass(Static(c.caption, SS_LEFT)));
    AskColors(link.Hwnd());
    ValidateRect(m_parent, nullptr);
    UpdateWindow(link.Hwnd());
    SendMessageW(link.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    RECT update{};
    // Before this thread handles its messages (waiting below does).
    const bool redrawn = GetUpdateRect(link.Hwnd(), &update, FALSE);
    if (c.opened) {
      auto lines = Launches(++opened, 5000);
      ASSERT_EQ(lines.size(), opened);
      EXPECT_NE(lines.back().find(c.opened), std::string::npos) << lines.back();
      EXPECT_EQ(link.TextColor(), RGB(128, 0, 128));
      EXPECT_EQ(AskColors(link.Hwnd()).textColor, RGB(128, 0, 128));
      EXPECT_TRUE(redrawn);  // invalidated at once, to be redrawn purple
    } else {
      EXPECT_EQ(link.TextColor(), RGB(0, 0, 255));
      EXPECT_FALSE(redrawn);
    }
  }
  EXPECT_EQ(Launches(opened + 1, 1000).size(), opened);  // nothing else was opened
}

// One hand for every link of the process: the help viewer's where it has
// one, the system's otherwise.
TEST_F(LinkTest, LinksShareOneHandCursor) {
  HyperLink first(kHomePage), second(kHomePage);
  ASSERT_TRUE(first.Subclass(Static("one", SS_LEFT)));
  ASSERT_TRUE(second.Subclass(Static("two", SS_ICON)));
  HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  SetCursor(arrow);
  EXPECT_EQ(SendMessageW(first.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(first.Hwnd()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  HCURSOR hand = GetCursor();
  SetCursor(arrow);
  EXPECT_EQ(SendMessageW(second.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(second.Hwnd()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(GetCursor(), hand);
  EXPECT_NE(hand, arrow);

  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  HMODULE helpViewer =
      LoadLibraryExW((std::wstring(windows) + L"\\winhlp32.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  bool helpViewerHasHand = helpViewer && FindResourceW(helpViewer, MAKEINTRESOURCEW(106), MAKEINTRESOURCEW(12) /* RT_GROUP_CURSOR */);
  if (helpViewer) FreeLibrary(helpViewer);
  if (helpViewerHasHand) {
    EXPECT_NE(hand, LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */));
  } else {
    EXPECT_EQ(hand, LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */));
  }
  std::cout << "[ INFO     ] link cursor from " << (helpViewerHasHand ? "winhlp32.exe" : "the system (IDC_HAND)")
            << std::endl;
}

TEST_F(LinkTest, ALinkLetsGoOfItsWindowWhenTheWindowGoes) {
  HyperLink link(kHomePage);
  HWND window = Static("link", SS_LEFT);
  ASSERT_TRUE(link.Subclass(window));
  EXPECT_FALSE(link.Subclass(window));  // one object per window
  DestroyWindow(window);
  EXPECT_EQ(link.Hwnd(), nullptr);
  // The object lets go of its window before then: it can take another.
  EXPECT_TRUE(link.Subclass(Static("again", SS_LEFT)));
}
