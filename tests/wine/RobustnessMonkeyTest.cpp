// A monkey run: thousands of random user actions against the real program,
// from a fixed seed that the test prints (QUARROW_MONKEY_SEED sets another,
// QUARROW_MONKEY_ACTIONS the run's length). A model of the bar follows every
// action; after each one the program must be alive and answer, and show what
// the model says (captions, switches, visibility, history); at the end the
// settings file must read back to what the model saved. A failure prints the
// seed and the list of actions up to it.
#include <gtest/gtest.h>
#include <ole2.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

#include "DesktopHarness.h"
#include "DialogHarness.h"
#include "DragSource.h"
#include "RobustnessHarness.h"
#include "desktop/win/TrayIcon.h"
#include "dialogs/win/KeySiteSettingsDlg.h"
#include "resource.h"

using namespace robust;

namespace {

// ---- Texts, character by character. The model's texts are UTF-8, where a
// byte below 0x80 is always a character of its own: letters fold byte by
// byte. (The monkey's letters are ASCII; the program folds others too.)

std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
    chars.push_back(text.substr(i, n));
    i += n;
  }
  return chars;
}

char FoldedLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldedLetter(x) == FoldedLetter(y);
         });
}

bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// Trimming as the program does it: ASCII white space only (the core's rule,
// tested there).
bool IsBlank(char c) { return c == ' ' || c == '\t' || (c >= '\n' && c <= '\r'); }
std::string TrimmedLeft(const std::string& text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  return text.substr(first);
}
std::string Trimmed(const std::string& text) {
  std::string left = TrimmedLeft(text);
  size_t end = left.size();
  while (end > 0 && IsBlank(left[end - 1])) --end;
  return left.substr(0, end);
}

// The first 1023 bytes of a value in the file's GBK, never half a character.
std::string CutAs1023GbkBytes(const std::string& value) {
  std::string bytes = Gbk(value);
  size_t end = 0;
  while (end < bytes.size()) {
    unsigned char c = static_cast<unsigned char>(bytes[end]);
    size_t n = c >= 0x81 && c <= 0xFE ? 2 : 1;
    if (end + n > 1023) break;
    end += n;
  }
  return FromGbk(bytes.substr(0, end));
}

// What a reader of the settings file gets back for a value the program wrote.
std::string ReadBack(const std::string& value) {
  std::string text = CutAs1023GbkBytes(value);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return Trimmed(text);
}

std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out.size() > 60 ? out.substr(0, 60) + "...(" + std::to_string(text.size()) + " bytes)" : out;
}

// ---- The model.

const std::string kDefaultEngineName = "百度一下";
const std::string kDefaultCode = "https://www.baidu.com/s?wd=";

struct Engine {
  std::string name, code, shortcut, suggestUrl;
  bool operator==(const Engine&) const = default;
};

// The built-in engines with their shortcuts, as "全部恢复默认" inserts them.
std::vector<Engine> DefaultEngines() {
  std::vector<Engine> engines;
  for (const StarterEngine& e : StarterEngines()) engines.push_back({e.name, e.code, e.shortcut, e.suggestUrl});
  return engines;
}

// The blanks that end a shortcut word: ASCII white space, the ideographic space.
size_t BlankLength(const std::string& text, size_t at) {
  if (IsBlank(text[at])) return 1;
  return text.compare(at, 3, "\u3000") == 0 ? 3 : 0;
}

using Section = std::map<std::string, std::string>;

struct Controls {
  std::string query;
  bool site = false, keyword = false;
  bool operator==(const Controls&) const = default;
};

struct Model {
  std::map<std::string, Section> file;  // what a reader of Quarrow.ini gets back
  std::vector<Engine> engines;                      // the catalogue: the menu offers the first ten
  std::vector<std::string> keywords, sites;         // the menus' entries, at most ten
  std::string engineName, keywordCaption, siteCaption, code;  // the current choices
  Controls controls, held;
  int useIE = 0, doubleClickRight = 1, useImage = 1;
  std::vector<std::string> history;
  bool shown = true;
  std::vector<std::string> launches;

  std::string Get(const std::string& section, const std::string& key, const std::string& fallback) const {
    auto s = file.find(section);
    if (s == file.end()) return fallback;
    auto k = s->second.find(key);
    return k == s->second.end() ? fallback : k->second;
  }
  int Count(const std::string& section) const {
    std::string text = Get(section, "Number", "10");
    return std::clamp(atoi(text.c_str()), 0, 1000);
  }
  // A menu offers a list's first entries, at most ten; an empty one leaves
  // its button with what position 0 reads.
  void BuildEngineMenu() {
    engines = EnginesForEditing();
    engineName = engines.empty() ? Get("Engine", "E0", kDefaultEngineName) : engines[0].name;
    code = engines.empty() ? Get("Engine", "S0", kDefaultCode) : engines[0].code;
  }
  void BuildKeywordAndSiteMenus() {
    keywords = ListForEditing("Key", "K", "MFC");
    sites = ListForEditing("Site", "S", "csdn.net");
    keywords.resize(std::min<size_t>(keywords.size(), 10));
    sites.resize(std::min<size_t>(sites.size(), 10));
    keywordCaption = keywords.empty() ? Get("Key", "K0", "MFC") : keywords[0];
    siteCaption = sites.empty() ? Get("Site", "S0", "csdn.net") : sites[0];
  }
  size_t EngineMenuSize() const { return std::min<size_t>(engines.size(), 10); }
  std::vector<Engine> EnginesForEditing() const {
    std::vector<Engine> rows;
    for (int k = 0; k < Count("Engine"); ++k) {
      const std::string n = std::to_string(k);
      rows.push_back({Get("Engine", "E" + n, kDefaultEngineName), Get("Engine", "S" + n, kDefaultCode),
                      Get("Engine", "A" + n, ""), Get("Engine", "U" + n, "")});
    }
    return rows;
  }
  // The engine a query's first word names by its shortcut, when more text
  // follows it, and that text.
  std::optional<std::pair<size_t, std::string>> Aim(const std::string& query) const {
    size_t end = 0;
    while (end < query.size() && !BlankLength(query, end)) ++end;
    if (end == 0 || end == query.size()) return std::nullopt;
    size_t rest = end;
    while (rest < query.size() && BlankLength(query, rest)) rest += BlankLength(query, rest);
    if (rest == query.size()) return std::nullopt;
    for (size_t i = 0; i < engines.size(); ++i) {
      if (!engines[i].shortcut.empty() && EqualsIgnoreCase(engines[i].shortcut, query.substr(0, end))) {
        return std::make_pair(i, query.substr(rest));
      }
    }
    return std::nullopt;
  }
  // The Search button names the engine that the query box's text aims at.
  std::string SearchCaption() const {
    auto aim = Aim(TrimmedLeft(controls.query));
    return aim ? engines[aim->first].name : engineName;
  }
  std::vector<std::string> ListForEditing(const std::string& section, const std::string& prefix,
                                          const std::string& fallback) const {
    std::vector<std::string> entries;
    for (int k = 0; k < Count(section); ++k) entries.push_back(Get(section, prefix + std::to_string(k), fallback));
    return entries;
  }
  // RunSearch: the held values from the controls, the URL, the history. No
  // code here holds a placeholder: the terms are appended, encoded.
  void Search() {
    held = controls;
    std::string query = TrimmedLeft(held.query);
    std::string url;
    auto aim = Aim(query);
    bool address = !aim && (StartsWithIgnoreCase(query, "www.") || StartsWithIgnoreCase(query, "http:"));
    if (address) {
      url = query;
    } else {
      std::string terms;
      if (held.site) terms += "site:" + siteCaption + " ";
      terms += aim ? aim->second : query;
      if (held.keyword) terms += " " + keywordCaption;
      url = (aim ? engines[aim->first].code : code) + PercentEncoded(terms);
    }
    if (useIE) {
      launches.push_back("iexplore.exe\t" + url);
    } else {
      std::string target = StartsWithIgnoreCase(url, "www.") ? "http://" + url : url;
      if (target.size() <= 900) launches.push_back("recorder.exe\t\"" + target + "\"");
    }
    if (query.empty()) return;
    for (size_t n = history.size(), p = 1; p <= n; ++p) {
      size_t candidate = p % n;
      if (StartsWithIgnoreCase(history[candidate], query)) {
        history.erase(history.begin() + static_cast<std::ptrdiff_t>(candidate));
        break;
      }
    }
    history.insert(history.begin(), query);
  }
};

struct MonkeyFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Expect(bool condition, const std::string& what) {
  if (!condition) throw MonkeyFailure(what);
}

// What differs, in words; nothing when equal.
template <typename T>
std::optional<std::string> Difference(const T& actual, const T& expected, const std::string& what) {
  if (actual == expected) return std::nullopt;
  std::ostringstream message;
  message << what << ": got " << ::testing::PrintToString(actual) << ", the model says "
          << ::testing::PrintToString(expected);
  return message.str();
}

template <typename T>
void ExpectEqual(const T& actual, const T& expected, const std::string& what) {
  if (auto difference = Difference(actual, expected, what)) throw MonkeyFailure(*difference);
}

// The bar's three menus: the button that opens each, its first command.
struct BarMenu {
  const char* name;
  int button, firstCommand;
};
const BarMenu kMenus[] = {{"engine", IDC_ENGINE_BUTTON, ID_ENGINE_FIRST},
                          {"keyword", IDC_KEYWORD_BUTTON, ID_KEYWORD_FIRST},
                          {"site", IDC_SITE_BUTTON, ID_SITE_FIRST}};

const std::string kInitialSettings =
    "[Engine]\r\nNumber=3\r\nE0=甲引擎\r\nS0=http://e0.test/?q=\r\nE1=Alpha\r\nS1=http://e1.test/?q=\r\n"
    "E2=丄\r\nS2=http://e2.test/?q=\r\n"
    "[Key]\r\nNumber=4\r\nK0=教程\r\nK1=mfc\r\nK2=Key 2\r\nK3=乤\r\n"
    "[Site]\r\nNumber=3\r\nS0=a.org\r\nS1=b.org\r\nS2=中文.cn\r\n"
    "[History]\r\nH0=abc\r\nH1=Abd\r\nH2=中文\r\nH3=x\r\nH4=丄a\r\n"
    "[Setting]\r\nUseIE=0\r\nDoubleClickRight=1\r\nUseImg=1\r\nImgNumber=1\r\n";

Model InitialModel() {
  Model m;
  m.file["Engine"] = {{"Number", "3"}, {"E0", "甲引擎"}, {"S0", "http://e0.test/?q="}, {"E1", "Alpha"},
                      {"S1", "http://e1.test/?q="}, {"E2", "丄"}, {"S2", "http://e2.test/?q="}};
  m.file["Key"] = {{"Number", "4"}, {"K0", "教程"}, {"K1", "mfc"}, {"K2", "Key 2"}, {"K3", "乤"}};
  m.file["Site"] = {{"Number", "3"}, {"S0", "a.org"}, {"S1", "b.org"}, {"S2", "中文.cn"}};
  m.file["Setting"] = {{"ImgNumber", "1"}};
  m.history = {"abc", "Abd", "中文", "x", "丄a"};
  m.BuildEngineMenu();
  m.BuildKeywordAndSiteMenus();
  return m;
}

// ---- The run.

class Monkey {
 public:
  Monkey(unsigned seed, BarProcess& bar) : m_random(seed), m_bar(bar), m_model(InitialModel()) {}

  const std::vector<std::string>& Log() const { return m_log; }
  std::pair<int, int> MenuRounds() const { return {m_menusShown, m_menuRounds}; }
  std::pair<int, int> DropRounds() const { return {m_dropsLanded, m_dropRounds}; }
  const Model& State() const { return m_model; }

  void Step(int index) {
    m_index = index;
    ChooseAndRun();
    // The next action waits until a search's launch has reached the recorder:
    // once a second Enter posted right after a first one left one launch
    // missing. A likely cause was found later in the recorder (two appending
    // at once under Wine could write over each other; it now waits for the
    // other). The wait stays, and what has come by then is checked here, so
    // that a missing launch is never waited for again at every later step.
    CheckLaunches(10000);
    Expect(Responsive(m_bar, 5000), "the program is alive and answers WM_NULL");
    CheckBar(index % 50 == 49);
  }

  void Finish() {
    // Most rounds show the menu below its button (all of them, mostly).
    Expect(m_menusShown * 10 >= m_menuRounds * 8,
           std::to_string(m_menusShown) + " of " + std::to_string(m_menuRounds) +
               " menu buttons showed their menu below them");
    Expect(m_dropsLanded * 10 >= m_dropRounds * 8,
           std::to_string(m_dropsLanded) + " of " + std::to_string(m_dropRounds) + " drops landed on the bar");
    m_log.push_back("exit");
    Expect(m_bar.Exit() == 0, "the exit command ends the program with code 0");
    SaveModel();
    CheckFile();
    CheckLaunches(20000);
  }

 private:
  // ---- Random choices.
  int Below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& from) { return from[static_cast<size_t>(Below(static_cast<int>(from.size())))]; }

  std::string Token() {
    static const std::vector<std::string> tokens = {"a", "b", "c", "A", "B", "x", "Y", "1", "2", " ",
                                                    "中", "文", "丄", "乤", "孉", "宎", "ab", "Ab"};
    return Pick(tokens);
  }
  std::string Word(int maxTokens) {
    std::string text;
    for (int i = 1 + Below(maxTokens); i > 0; --i) text += Token();
    return text;
  }
  std::string Query() {
    int kind = Below(100);
    if (kind < 12 && !m_model.history.empty()) {  // a beginning of an entry, in another case
      auto chars = Characters(Pick(m_model.history));
      std::string prefix;
      for (size_t i = 0, n = 1 + Below(static_cast<int>(chars.size())); i < n; ++i) {
        std::string ch = chars[i];
        if (ch.size() == 1 && isalpha(static_cast<unsigned char>(ch[0])) && Chance(50)) ch[0] ^= 0x20;
        prefix += ch;
      }
      return prefix;
    }
    if (kind < 18) return Pick(std::vector<std::string>{"www.", "WWW.", "http:", "HTTP://", "https:", "www"}) + Word(4);
    if (kind < 22) return Pick(std::vector<std::string>{"", " ", "\t "});
    if (kind < 24) return std::string(880 + Below(60), 'q');
    if (kind < 30) return Pick(std::vector<std::string>{"g ", "BD ", "bing\t", "gm\u3000", "g", "zz "}) + Query();
    std::string text = Word(6);
    if (Chance(20)) text = "  " + text;
    if (Chance(10)) text += " ";
    return text;
  }
  std::string LowerWord() {
    static const std::string letters = "abcxyz0129 ";
    std::string text;
    for (int i = 1 + Below(8); i > 0; --i) text += letters[static_cast<size_t>(Below(static_cast<int>(letters.size())))];
    return text;
  }

  void Record(const std::string& action) { m_log.push_back("#" + std::to_string(m_index) + " " + action); }

  // ---- Actions.
  void ChooseAndRun() {
    if (!m_model.shown) {
      switch (Below(4)) {
        case 0: return Show("show command", [&] { m_bar.Command(ID_SHOW_BAR); });
        case 1: return Show("notification icon, left button", [&] {
            PostMessageW(m_bar.Bar(), kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDOWN);
            m_bar.Sync();
          });
        case 2: return Hotkey();
        default: break;  // a command that works hidden as well
      }
    }
    int roll = Below(1000);
    if (roll < 100) return SetQuery();
    if (roll < 150) return TypeQuery();
    if (roll < 200) return SearchButton();
    if (roll < 240) return EnterKey();
    if (roll < 270) return DeleteKey();
    if (roll < 290) return DownKey();
    if (roll < 340) return Switch(IDC_SITE_SWITCH);
    if (roll < 390) return Switch(IDC_KEYWORD_SWITCH);
    if (roll < 470) return MenuCommand();
    if (roll < 500) return m_model.shown ? MenuButton() : MenuCommand();
    if (roll < 520) return Hide();
    if (roll < 535) return EscapeKey();
    if (roll < 550) return Hotkey();
    if (roll < 580) return OptionsDialog();
    if (roll < 600) return PictureDialog();
    if (roll < 610) return AboutDialog();
    if (roll < 650) return EngineDialog();
    if (roll < 690) return KeySiteDialog();
    if (roll < 720) return m_model.shown ? Drag() : MenuCommand();
    if (roll < 735) return m_model.shown ? DoubleClick() : MenuCommand();
    if (roll < 780) return m_model.shown ? Drop() : MenuCommand();  // a drop needs the bar on screen
    return MenuCommand();
  }

  // Keys go into the program's own message queue, addressed to the query
  // box's edit field, as the system would queue them for it: the bar's loop
  // takes them through its pre-translation and the dialog keys whichever
  // window is in front. (Keys through the system's input queue need the bar
  // in front, which Wine does not always give after drops and dialogs; the
  // desktop and search-bar tests press real keys.)
  HWND QueryEdit() const { return FindWindowExW(m_bar.Item(IDC_QUERY), nullptr, L"Edit", nullptr); }

  void PostKeys(HWND window, std::initializer_list<WORD> keys) {
    for (WORD key : keys) {
      PostMessageW(window, WM_KEYDOWN, key, 1);
      PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    SyncQueue(window);
  }

  // Waits until the program's thread has handled everything posted to it so
  // far: a marker posted behind it (a new text limit for the query box, far
  // above anything typed here) shows when the queue has reached it. A sent
  // message would not do: sent messages are handled before posted ones.
  void SyncQueue(HWND) {
    HWND edit = QueryEdit();
    const LRESULT marker = 0x7FFFFFF0 - (++m_markers % 1000);
    PostMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0);
    Expect(WaitFor([&] { return SendMessageW(edit, EM_GETLIMITTEXT, 0, 0) == marker; }, 5000),
           "the program takes what was posted to it");
  }

  void Show(const std::string& how, const std::function<void()>& act) {
    Record(how);
    act();
    m_model.shown = true;
  }

  void SetQuery() {
    std::string text = Query();
    Record("set query '" + Printable(text) + "'");
    m_bar.SetQuery(text);
    m_model.controls.query = text;
  }

  void TypeQuery() {
    std::string text = LowerWord();
    Record("select the query box's text and type '" + text + "'");
    SendMessageW(m_bar.Item(IDC_QUERY), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    HWND edit = QueryEdit();
    for (char c : text) PostMessageW(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    SyncQueue(edit);
    Expect(WaitFor([&] { return m_bar.Text(IDC_QUERY) == text; }), "the typed text is in the query box");
    m_model.controls.query = text;
  }

  void SearchButton() {
    Record("click Search");
    m_bar.Click(IDC_SEARCH);
    m_model.Search();
  }

  void EnterKey() {
    Record("Enter in the query box");
    PostKeys(QueryEdit(), {VK_RETURN});
    m_model.Search();
  }

  void DeleteKey() {
    int count = static_cast<int>(m_model.history.size());
    int selected = count && Chance(70) ? Below(count) : -1;
    Record("history entry " + std::to_string(selected) + " current, Delete");
    SendMessageW(m_bar.Item(IDC_QUERY), CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    PostKeys(QueryEdit(), {VK_DELETE});
    if (selected >= 0) m_model.history.erase(m_model.history.begin() + selected);
    WaitFor([&] { return static_cast<size_t>(SendMessageW(m_bar.Item(IDC_QUERY), CB_GETCOUNT, 0, 0)) == m_model.history.size(); });
    m_bar.Sync();
    m_model.controls.query = m_bar.Text(IDC_QUERY);  // the edit field's own work
  }

  void DownKey() {
    Record("Down in the query box");
    PostKeys(QueryEdit(), {VK_DOWN});
    m_model.controls.query = m_bar.Text(IDC_QUERY);
  }

  void Switch(int id) {
    Record(id == IDC_SITE_SWITCH ? "click Site" : "click Key");
    m_bar.Click(id);
    bool& state = id == IDC_SITE_SWITCH ? m_model.controls.site : m_model.controls.keyword;
    state = !state;
    if (id == IDC_KEYWORD_SWITCH) m_model.held = m_model.controls;  // its handler exchanges
  }

  // A command for a position the menu does not offer changes nothing.
  void Choose(int menu, int i) {
    const size_t at = static_cast<size_t>(i);
    if (menu == 0) {
      if (at >= m_model.EngineMenuSize()) return;
      m_model.engineName = m_model.engines[at].name;
      m_model.code = m_model.engines[at].code;
    } else if (menu == 1) {
      if (at >= m_model.keywords.size()) return;
      m_model.keywordCaption = m_model.keywords[i];
    } else {
      if (at >= m_model.sites.size()) return;
      m_model.siteCaption = m_model.sites[i];
    }
  }

  void MenuCommand() {
    int menu = Below(3), i = Below(10);
    Record(std::string(kMenus[menu].name) + " menu command " + std::to_string(i));
    m_bar.Command(kMenus[menu].firstCommand + i);
    Choose(menu, i);
  }

  // A menu button opens its menu right below itself; the system's cancel
  // (WM_CANCELMODE, as when another window takes over) closes it without a
  // choice. Under Wine, now and then no menu shows when nothing is in front
  // (Wine's menu loop, not the program's code): such a round is counted, the
  // program must still answer, and most rounds must show their menu.
  void MenuButton() {
    const BarMenu& menu = kMenus[Below(3)];
    Record(std::string(menu.name) + " button, then the menu cancelled");
    ++m_menuRounds;
    // The button's click as the button reports it to the bar (a posted BM_CLICK
    // needs the mouse capture, which Wine does not always grant here).
    PostMessageW(m_bar.Bar(), WM_COMMAND, MAKEWPARAM(menu.button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_bar.Item(menu.button)));
    RECT button = desktop_test::WindowRect(m_bar.Item(menu.button));
    HWND popup = nullptr;
    bool placed = WaitFor([&] {
      popup = desktop_test::OpenPopupMenu(m_bar.ProcessId());
      if (!popup || !TracksMenu()) return false;
      RECT now = desktop_test::WindowRect(popup);
      return now.left == button.left && now.top == button.bottom;
    });
    if (placed) ++m_menusShown;
    if (popup || TracksMenu()) PostMessageW(m_bar.Bar(), WM_CANCELMODE, 0, 0);
    Expect(WaitFor([&] { return !desktop_test::OpenPopupMenu(m_bar.ProcessId()) && !TracksMenu(); }),
           "the menu closes");
    m_bar.Sync();
  }

  void Hide() {
    Record("hide command");
    m_bar.Command(ID_HIDE_BAR);
    m_model.shown = false;
  }

  void EscapeKey() {
    Record("Escape in the query box");
    PostKeys(QueryEdit(), {VK_ESCAPE});
    m_model.shown = false;
  }

  // Ctrl+Alt+S as the system reports it (WM_HOTKEY): the bar decides by its
  // shown state and the window in front, both known here. (The real key
  // press is in the desktop tests.)
  void Hotkey() {
    HWND front = GetForegroundWindow();
    bool hides = !front || m_model.shown;
    Record(std::string("Ctrl+Alt+S with ") + (m_model.shown ? "the bar shown" : "the bar hidden") +
           (front ? "" : " and no window in front"));
    PostMessageW(m_bar.Bar(), WM_HOTKEY, 100, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'S'));
    SyncQueue(m_bar.Bar());
    if (hides) {
      m_model.controls = m_model.held;  // the controls go back to the held values
    } else {
      m_model.held = m_model.controls;
    }
    m_model.shown = !hides;
  }

  // ---- Dialogs.
  DialogDriver OpenOrFail(int command, const std::string& caption, const std::string& name) {
    HWND dialog = OpenDialog(m_bar, command, caption);
    Expect(dialog != nullptr, name + " opens");
    return DialogDriver(m_bar, dialog);
  }

  // An Add button clicked; a name the list has already (`duplicate`) is told
  // in a message box, which is closed.
  void ClickAdd(const DialogDriver& d, int button, const std::string& duplicate) {
    d.ClickLater(button);
    if (duplicate.empty()) {
      d.Sync();
      desktop_test::Pause(20);
      d.Sync();
      return;
    }
    auto box = WaitForMessageBox(m_bar.ProcessId(), d.Dialog());
    Expect(box.has_value(), "the duplicate is told in a message box");
    ExpectEqual(box->text, duplicate + " 已经存在!", "the message");
    CloseMessageBox(*box);
  }

  void OptionsDialog() {
    DialogDriver d = OpenOrFail(ID_OPTIONS, "软件设置", "the options dialog");
    ExpectEqual(d.Checked(IDC_BROWSER_IE), m_model.useIE == 1, "IE is selected as UseIE says");
    ExpectEqual(d.Checked(IDC_PLACE_RIGHT), m_model.doubleClickRight == 1, "placement as DoubleClickRight says");
    ExpectEqual(d.Checked(IDC_BACKGROUND_IMAGE), m_model.useImage == 1, "background as UseImg says");
    int browser = m_model.useIE ? 0 : 1, place = m_model.doubleClickRight, back = m_model.useImage;
    std::string action = "options:";
    for (int n = Below(4); n > 0; --n) {
      int group = Below(3), button = Below(2);
      const int ids[3][2] = {{IDC_BROWSER_IE, IDC_BROWSER_DEFAULT},
                             {IDC_PLACE_LEFT, IDC_PLACE_RIGHT},
                             {IDC_BACKGROUND_COLOR, IDC_BACKGROUND_IMAGE}};
      d.Click(ids[group][button]);
      (group == 0 ? browser : group == 1 ? place : back) = button;
      action += " click " + std::to_string(ids[group][button]);
    }
    bool ok = Chance(60);
    Record(action + (ok ? ", OK" : ", Cancel"));
    Expect(d.End(ok ? IDOK : IDCANCEL), "the options dialog closes");
    if (!ok) return;
    m_model.useIE = browser == 1 ? 0 : 1;
    m_model.doubleClickRight = place;
    m_model.useImage = back;
    m_model.held = m_model.controls;
  }

  void PictureDialog() {
    DialogDriver d = OpenOrFail(ID_CHOOSE_PICTURE, "选择背景图片(第一页)", "the picture chooser");
    int page = 1, slot = -1;
    std::string action = "picture chooser:";
    for (int n = Below(5); n > 0; --n) {
      int what = Below(3);
      if (what == 0) {
        d.Click(IDC_NEXT_PAGE);
        page = page % 6 + 1;
        action += " next";
      } else if (what == 1) {
        d.Click(IDC_PREVIOUS_PAGE);
        page = page == 1 ? 6 : page - 1;
        action += " previous";
      } else {
        slot = Below(5);
        d.Click(IDC_PICTURE_RADIO_FIRST + slot);
        action += " slot " + std::to_string(slot);
      }
    }
    ExpectEqual(d.Text(IDC_PAGE_LABEL), "第" + std::to_string(page) + "页", "the page label");
    bool ok = Chance(60);
    Record(action + (ok ? ", OK" : ", Cancel"));
    Expect(d.End(ok ? IDOK : IDCANCEL), "the picture chooser closes");
    if (ok && slot >= 0) m_model.file["Setting"]["ImgNumber"] = std::to_string(5 * page - 4 + slot);
    if (ok) ExpectFileKey("Setting", "ImgNumber");
  }

  void AboutDialog() {
    bool escape = Chance(50);
    Record(std::string("About box, closed with ") + (escape ? "Escape" : "OK"));
    DialogDriver d = OpenOrFail(ID_ABOUT, "关于 Quarrow", "the About box");
    if (escape) {
      PostKeys(d.Dialog(), {VK_ESCAPE});
    } else {
      d.ClickLater(IDOK);
    }
    Expect(WaitUntilGone(d.Dialog()), "the About box closes");
    m_bar.Sync();
  }

  std::string EngineName() {
    int kind = Below(10);
    if (kind == 0) return "";
    if (kind == 1) return "  " + Word(3);
    if (kind == 2 && !m_rows.empty()) {  // another case of a listed name
      std::string name = Pick(m_rows).name;
      for (char& c : name) {
        if (c >= 'a' && c <= 'z') c -= 32;
      }
      return name;
    }
    return Word(4);
  }

  void CheckEngineRows(const RemoteListView& list) {
    std::vector<std::vector<std::string>> expected;
    for (size_t k = 0; k < m_rows.size(); ++k) {
      expected.push_back({std::to_string(k), m_rows[k].name, m_rows[k].code, m_rows[k].shortcut});
    }
    ExpectEqual(list.Rows(4), expected, "the engine list");
  }

  void EngineDialog() {
    DialogDriver d = OpenOrFail(ID_EDIT_ENGINES, "搜索引擎设置", "the engine dialog");
    RemoteListView list(m_bar.ProcessHandle(), d.Item(IDC_ENGINE_LIST));
    m_rows = m_model.EnginesForEditing();
    CheckEngineRows(list);
    int current = -1;
    std::string action = "engine dialog:";
    try {
      for (int n = 1 + Below(5); n > 0; --n) {
        int what = Below(100);
        int rows = static_cast<int>(m_rows.size());
        if (what < 30 && rows) {  // a row selected (as the arrow keys do; a click is not sent
                                  // across processes here, so no row becomes current)
          int row = Below(rows);
          SendMessageW(list.Item(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
          SendMessageW(list.Item(), LVM_SETSELECTIONMARK, 0, row);
          action += " mark row " + std::to_string(row);
        } else if (what < 55) {  // Add
          std::string name = EngineName(), code = Chance(10) ? "" : "http://" + Word(2) + ".test/?q=";
          action += " add '" + Printable(name) + "' '" + Printable(code) + "'";
          d.SetText(IDC_ENGINE_NAME, name);
          d.SetText(IDC_ENGINE_CODE, code);
          std::string trimmedName = TrimmedLeft(name), trimmedCode = TrimmedLeft(code);
          bool duplicate = !trimmedName.empty() && !trimmedCode.empty() &&
                           std::any_of(m_rows.begin(), m_rows.end(),
                                       [&](const auto& row) { return EqualsIgnoreCase(row.name, trimmedName); });
          ClickAdd(d, IDC_ENGINE_ADD, duplicate ? trimmedName : "");
          if (!duplicate && !trimmedName.empty() && !trimmedCode.empty()) m_rows.push_back({trimmedName, trimmedCode, "", ""});
        } else if (what < 70) {  // Modify
          std::string name = EngineName(), code = "http://" + Word(2) + ".test/?q=";
          action += " modify '" + Printable(name) + "' '" + Printable(code) + "'";
          d.SetText(IDC_ENGINE_NAME, name);
          d.SetText(IDC_ENGINE_CODE, code);
          d.Click(IDC_ENGINE_MODIFY);
          if (current >= 0 && current < rows) m_rows[static_cast<size_t>(current)] = {name, code, "", ""};
        } else if (what < 82) {  // Delete
          int mark = list.SelectionMark();
          action += " delete (mark " + std::to_string(mark) + ")";
          d.Click(IDC_ENGINE_DELETE);
          if (mark >= 0 && current >= 0 && current < rows) m_rows.erase(m_rows.begin() + current);
        } else if (what < 95) {  // Up or Down
          bool up = Chance(50);
          int mark = list.SelectionMark();
          action += std::string(up ? " up" : " down") + " (mark " + std::to_string(mark) + ")";
          d.Click(up ? IDC_ENGINE_UP : IDC_ENGINE_DOWN);
          if (up && mark > 0 && mark < rows) std::swap(m_rows[mark], m_rows[mark - 1]);
          if (!up && mark >= 0 && mark + 1 < rows) std::swap(m_rows[mark], m_rows[mark + 1]);
        } else if (rows < 30) {
          action += " restore defaults";
          d.Click(IDC_ENGINE_RESTORE);
          // A built-in engine comes without a shortcut that an engine has.
          std::vector<Engine> defaults = DefaultEngines();
          for (Engine& engine : defaults) {
            if (std::any_of(m_rows.begin(), m_rows.end(),
                            [&](const Engine& row) { return EqualsIgnoreCase(row.shortcut, engine.shortcut); })) {
              engine.shortcut.clear();
            }
          }
          m_rows.insert(m_rows.begin(), defaults.begin(), defaults.end());
        }
        CheckEngineRows(list);
      }
    } catch (const MonkeyFailure&) {
      if (m_log.empty() || m_log.back().find(action) == std::string::npos) Record(action);
      throw;
    }
    bool ok = Chance(70);
    Record(action + (ok ? ", OK" : ", Cancel"));
    Expect(d.End(ok ? IDOK : IDCANCEL), "the engine dialog closes");
    if (!ok) return;
    Section& engine = m_model.file["Engine"];
    engine["Number"] = std::to_string(m_rows.size());
    for (size_t k = 0; k < m_rows.size(); ++k) {
      const std::string n = std::to_string(k);
      engine["E" + n] = ReadBack(m_rows[k].name);
      engine["S" + n] = ReadBack(m_rows[k].code);
      // An empty shortcut or suggestion address is written only over one the file holds.
      if (!m_rows[k].shortcut.empty() || !m_model.Get("Engine", "A" + n, "").empty()) engine["A" + n] = m_rows[k].shortcut;
      if (!m_rows[k].suggestUrl.empty() || !m_model.Get("Engine", "U" + n, "").empty()) {
        engine["U" + n] = m_rows[k].suggestUrl;
      }
    }
    m_model.BuildEngineMenu();
    m_model.held = m_model.controls;
    ExpectFileKey("Engine", "Number");
    if (!m_rows.empty()) ExpectFileKey("Engine", "E" + std::to_string(m_rows.size() - 1));
  }

  // A half's controls as the dialog has them, its list as the settings file has it.
  struct Half : KeySiteSettingsDlg::HalfControls {
    const TextListKind* kind;
    std::string Section() const { return std::string(kind->section); }
  };

  void KeySiteDialog() {
    static const Half halves[2] = {
        {KeySiteSettingsDlg::kKeywordHalf, &kKeywordListKind}, {KeySiteSettingsDlg::kSiteHalf, &kSiteListKind}};
    DialogDriver d = OpenOrFail(ID_EDIT_KEYWORDS_SITES, "关键词(Key)网站(Site)设置", "the keyword and site dialog");
    std::vector<std::string> lists[2];
    int selected[2] = {-1, -1};
    std::string edit[2];
    for (int h = 0; h < 2; ++h) {
      lists[h] = m_model.ListForEditing(halves[h].Section(), std::string(halves[h].kind->entryPrefix),
                                        std::string(halves[h].kind->entryDefault));
      ExpectEqual(ListBoxItems(d.Item(halves[h].list)), lists[h], std::string("the list of ") + halves[h].Section());
    }
    std::string action = "keyword and site dialog:";
    try {
      for (int n = 1 + Below(6); n > 0; --n) {
        int h = Below(2);
        const Half& half = halves[h];
        auto& entries = lists[h];
        int count = static_cast<int>(entries.size());
        int what = Below(100);
        action += std::string(" ") + half.Section();
        if (what < 25 && count) {  // an entry chosen with the keyboard in its list
          int index = Below(count);
          // As a click does: the entry selected, and the program told so.
          HWND box = d.Item(half.list);
          SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
          SendMessageW(d.Dialog(), WM_COMMAND, MAKEWPARAM(half.list, LBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
          edit[h] = entries[static_cast<size_t>(index)];
          selected[h] = index;
          action += " selects " + std::to_string(index);
        } else if (what < 45) {
          std::string text = Chance(15) ? "" : (Chance(20) ? "  " : "") + Word(4);
          if (Chance(15) && count) text = entries[static_cast<size_t>(Below(count))];
          action += " type '" + Printable(text) + "'";
          d.SetText(half.edit, text);
          edit[h] = text;
        } else if (what < 65) {
          std::string trimmed = TrimmedLeft(edit[h]);
          bool duplicate = !trimmed.empty() && std::any_of(entries.begin(), entries.end(), [&](const std::string& e) {
            return EqualsIgnoreCase(e, trimmed);
          });
          action += " add";
          ClickAdd(d, half.add, duplicate ? trimmed : "");
          if (!duplicate && !trimmed.empty()) entries.push_back(trimmed);
        } else if (what < 75) {
          action += " modify";
          d.Click(half.modify);
          if (selected[h] >= 0) entries[static_cast<size_t>(selected[h])] = edit[h];
          selected[h] = -1;
        } else if (what < 85) {
          action += " delete";
          d.Click(half.remove);
          if (selected[h] >= 0) entries.erase(entries.begin() + selected[h]);
          selected[h] = -1;
        } else {
          bool up = Chance(50);
          action += up ? " up" : " down";
          d.Click(up ? half.up : half.down);
          int s = selected[h];
          if (up && s > 0) {
            entries.erase(entries.begin() + s);
            entries.insert(entries.begin() + s - 1, edit[h]);
            selected[h] = s - 1;
          } else if (!up && s >= 0 && s + 1 < count) {
            entries.erase(entries.begin() + s);
            entries.insert(entries.begin() + s + 1, edit[h]);
            selected[h] = s + 1;
          }
        }
        ExpectEqual(ListBoxItems(d.Item(half.list)), entries, std::string("the list of ") + half.Section());
        ExpectEqual(ListBoxSelection(d.Item(half.list)), selected[h], std::string("the selection in ") + half.Section());
      }
    } catch (const MonkeyFailure&) {
      Record(action);
      throw;
    }
    bool ok = Chance(70);
    Record(action + (ok ? ", OK" : ", Cancel"));
    Expect(d.End(ok ? IDOK : IDCANCEL), "the keyword and site dialog closes");
    if (!ok) return;
    for (int h = 0; h < 2; ++h) {
      Section& section = m_model.file[halves[h].Section()];
      section["Number"] = std::to_string(lists[h].size());
      for (size_t k = 0; k < lists[h].size(); ++k) section[std::string(halves[h].kind->entryPrefix) + std::to_string(k)] = ReadBack(lists[h][k]);
      ExpectFileKey(halves[h].Section(), "Number");
    }
    m_model.BuildKeywordAndSiteMenus();
    m_model.held = m_model.controls;
  }

  // ---- The mouse on the bar.

  // A point of the bar's own surface, away from the screen's edges.
  POINT GrabPoint() {
    RECT r = desktop_test::WindowRect(m_bar.Bar());
    POINT left{r.left + 12, r.bottom - 12}, right{r.right - 12, r.bottom - 12};
    return r.left < 60 ? right : left;
  }

  // Whether the bar's thread tracks a menu.
  bool TracksMenu() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(m_bar.Bar(), nullptr), &info);
    return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0;
  }

  // A drag in the free middle of the screen, as the system's move loop reports
  // it: the cursor where the hand is, WM_MOVING with the proposed place (which
  // the bar may snap), then the bar put there. (Under Wine the real mouse's
  // X pointer drifts from where the tests put it after some hundred actions;
  // real drags and their snapping are in the desktop tests.)
  void Drag() {
    RECT before = desktop_test::WindowRect(m_bar.Bar());
    POINT grab = GrabPoint();
    const int dx = 120 + Below(600) - before.left, dy = 100 + Below(350) - before.top;
    Record("drag the bar by (" + std::to_string(dx) + "," + std::to_string(dy) + ")");
    SetCursorPos(grab.x + dx, grab.y + dy);
    RECT proposed{before.left + dx, before.top + dy, before.right + dx, before.bottom + dy};
    RECT answered = proposed;
    SendMessageW(m_bar.Bar(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&answered));
    ExpectEqual(std::make_pair(answered.left, answered.top), std::make_pair(proposed.left, proposed.top),
                "a free move is not snapped");
    SetWindowPos(m_bar.Bar(), nullptr, answered.left, answered.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bar.Sync();
    RECT after = desktop_test::WindowRect(m_bar.Bar());
    ExpectEqual(after.bottom - after.top, before.bottom - before.top, "the bar's height");
  }

  // A double click on the bar's surface, as the system reports it.
  void DoubleClick() {
    POINT at = GrabPoint();
    Record("double click on the bar at (" + std::to_string(at.x) + "," + std::to_string(at.y) + ")");
    ScreenToClient(m_bar.Bar(), &at);
    PostMessageW(m_bar.Bar(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SyncQueue(m_bar.Bar());
    RECT r = desktop_test::WindowRect(m_bar.Bar()), area = desktop_test::WorkArea();
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = m_model.doubleClickRight == 1 ? area.right - width : 0;
    ExpectEqual(std::make_pair(static_cast<int>(r.left), static_cast<int>(r.top)),
                std::make_pair(x, (static_cast<int>(area.bottom) - height) / 7 * 6), "the corner place");
    // Back to the middle, so that a later grab is away from the edges.
    SetWindowPos(m_bar.Bar(), nullptr, 300 + Below(200), 200 + Below(200), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bar.Sync();
  }

  void Drop() {
    std::string text;
    for (int n = Below(3); n > 0; --n) text += Word(2) + "\t";
    int kind = Below(10);
    std::string last = kind == 0 ? " \r\n " : (kind < 3 ? "  " + Query() + " \r\n" : Query());
    text += last;
    Record("drop '" + Printable(text) + "' on the bar");
    ++m_dropRounds;
    // Under Wine the pointer the drag follows may not be where the test put it
    // (see Drag): a drop that did not land on the bar is counted, and most
    // must land. Only the bar's asking for the text says it landed: the drag
    // can pass over the bar (which answers "copy") and end beside it.
    if (DropOnBar(m_bar.Bar(), text).dataRequests == 0) {
      m_log.back() += " (it fell beside the bar)";
      return;
    }
    ++m_dropsLanded;
    std::string query = Trimmed(text.substr(text.rfind('\t') == std::string::npos ? 0 : text.rfind('\t') + 1));
    if (query.empty()) return;
    m_model.controls.query = query;
    m_model.Search();
  }

  // ---- Checks.
  // The first thing the bar shows otherwise than the model says, if any.
  std::optional<std::string> BarDifference() {
    auto checked = [&](int id) { return SendMessageW(m_bar.Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; };
    std::optional<std::string> d;
    (d = Difference(IsWindowVisible(m_bar.Bar()) != FALSE, m_model.shown, "the bar is shown")) ||
        (d = Difference(m_bar.Text(IDC_SEARCH), m_model.SearchCaption(), "the Search button's caption")) ||
        (d = Difference(m_bar.Text(IDC_KEYWORD_BUTTON), m_model.keywordCaption, "the keyword button's caption")) ||
        (d = Difference(m_bar.Text(IDC_SITE_BUTTON), m_model.siteCaption, "the site button's caption")) ||
        (d = Difference(checked(IDC_SITE_SWITCH), m_model.controls.site, "the Site box")) ||
        (d = Difference(checked(IDC_KEYWORD_SWITCH), m_model.controls.keyword, "the Key box")) ||
        (d = Difference(static_cast<size_t>(SendMessageW(m_bar.Item(IDC_QUERY), CB_GETCOUNT, 0, 0)),
                        m_model.history.size(), "the number of history entries")) ||
        (d = Difference(OtherVisibleWindows(m_bar.ProcessId(), m_bar.Bar()).size(), size_t{0}, "windows left open"));
    return d;
  }

  void CheckBar(bool full) {
    std::optional<std::string> difference;
    // What came through the input queue may lag.
    WaitFor([&] { return !(difference = BarDifference()); }, 3000);
    if (difference) throw MonkeyFailure(*difference);
    if (!full) return;
    ExpectEqual(m_bar.QueryList(), m_model.history, "the history");
    ExpectEqual(m_bar.Text(IDC_QUERY), m_model.controls.query, "the query box");
  }

  void SaveModel() {
    m_model.held = m_model.controls;
    Section& history = m_model.file["History"];
    for (size_t i = 0; i < 100; ++i) history["H" + std::to_string(i)] = i < m_model.history.size() ? ReadBack(m_model.history[i]) : "";
    Section& setting = m_model.file["Setting"];
    setting["UseIE"] = m_model.useIE ? "1" : "0";
    setting["DoubleClickRight"] = m_model.doubleClickRight ? "1" : "0";
    setting["UseImg"] = m_model.useImage ? "1" : "0";
  }

  void ExpectFileKey(const std::string& section, const std::string& key) {
    ExpectEqual(ReadKey(m_bar.SettingsPath(), section, key), std::optional<std::string>(m_model.Get(section, key, "")),
                "the settings file's " + section + " " + key);
  }

  void CheckFile() {
    for (const auto& [section, keys] : m_model.file) {
      for (const auto& [key, value] : keys) ExpectFileKey(section, key);
    }
    ExpectEqual(MalformedLines(m_bar.SettingsBytes()), std::vector<std::string>{}, "lines of the settings file");
    ExpectEqual(FilesIn(m_bar.Folder(), "*.tmp"), std::vector<std::string>{}, "files left beside it");
  }

  // What reached the browsers, once the model's count has come or `ms` have
  // passed, is what the model launched.
  void CheckLaunches(DWORD ms) {
    std::vector<std::string> expected = m_model.launches;
    std::vector<std::string> seen = m_bar.WaitForLaunches(expected.size(), ms);
    for (std::string& line : seen) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    std::sort(expected.begin(), expected.end());
    std::sort(seen.begin(), seen.end());
    if (seen == expected) return;
    // Hundreds of launches: name only the ones that differ.
    std::vector<std::string> unexpected, missing;
    std::set_difference(seen.begin(), seen.end(), expected.begin(), expected.end(), std::back_inserter(unexpected));
    std::set_difference(expected.begin(), expected.end(), seen.begin(), seen.end(), std::back_inserter(missing));
    // A browser whose start the system lost never writes its line: CI hosts
    // lost Wine process starts now and then, and a fresh clone's run here
    // once lost one launch of 226 (the 28th; the same seed gave all 226 in
    // six other runs). The search tests check each launch exactly; here one
    // lost launch in a run is said and taken off the model, a second fails.
    if (unexpected.empty() && missing.size() == 1 && !m_lostLaunch) {
      printf("[ robust   ] after action %d a launch never reached the recorder: %s\n", m_index, missing[0].c_str());
      fflush(stdout);
      m_lostLaunch = true;
      m_model.launches.erase(std::find(m_model.launches.begin(), m_model.launches.end(), missing[0]));
      return;
    }
    throw MonkeyFailure("what reached the browsers: " + std::to_string(seen.size()) + " launches, the model says " +
                        std::to_string(expected.size()) + "; not in the model " +
                        ::testing::PrintToString(unexpected) + ", missing " + ::testing::PrintToString(missing));
  }

  std::mt19937 m_random;
  BarProcess& m_bar;
  Model m_model;
  std::vector<std::string> m_log;
  int m_index = 0;
  int m_markers = 0;
  int m_menuRounds = 0, m_menusShown = 0;
  int m_dropRounds = 0, m_dropsLanded = 0;
  bool m_lostLaunch = false;  // one lost launch has been forgiven
  std::vector<Engine> m_rows;  // the engine dialog's
};

unsigned SeedFromEnvironment() {
  wchar_t text[32] = {};
  if (GetEnvironmentVariableW(L"QUARROW_MONKEY_SEED", text, 32)) return static_cast<unsigned>(wcstoul(text, nullptr, 10));
  return 1;  // fixed, so that every run of the suite makes the same actions
}

int ActionsFromEnvironment() {
  wchar_t text[32] = {};
  if (GetEnvironmentVariableW(L"QUARROW_MONKEY_ACTIONS", text, 32)) return static_cast<int>(wcstol(text, nullptr, 10));
  return 2000;
}

}  // namespace

TEST(RobustMonkey, RandomActionsKeepTheProgramAnsweringAndTheModelsStateSaved) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  const unsigned seed = SeedFromEnvironment();
  const int actions = ActionsFromEnvironment();
  printf("[ robust   ] monkey seed %u, %d actions (QUARROW_MONKEY_SEED=%u repeats this run)\n", seed, actions, seed);
  fflush(stdout);
  BarProcess bar(Gbk(kInitialSettings));
  ASSERT_TRUE(bar.Started());
  SetWindowPos(bar.Bar(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Monkey monkey(seed, bar);
  DWORD start = GetTickCount();
  std::string failure;
  int done = 0;
  try {
    for (; done < actions; ++done) monkey.Step(done);
    monkey.Finish();
  } catch (const MonkeyFailure& error) {
    failure = error.what();
  }
  desktop_test::HideTestWindow();
  OleUninitialize();
  printf("[ robust   ] monkey: %d actions in %lu ms, %zu launches, %zu history entries, %d of %d menus "
         "shown, %d of %d drops landed\n",
         done, GetTickCount() - start, monkey.State().launches.size(), monkey.State().history.size(),
         monkey.MenuRounds().first, monkey.MenuRounds().second, monkey.DropRounds().first,
         monkey.DropRounds().second);
  if (!failure.empty()) {
    std::ostringstream log;
    for (const std::string& line : monkey.Log()) log << "  " << line << "\n";
    ADD_FAILURE() << "seed " << seed << " (set QUARROW_MONKEY_SEED=" << seed << " to repeat), after action " << done
                  << ": " << failure << "\nactions:\n" << log.str();
  }
}
