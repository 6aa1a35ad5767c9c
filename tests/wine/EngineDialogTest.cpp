// The engine settings dialog end to end: opened from the bar's engine menu
// item "增加" in the real program, worked with the mouse and the buttons, and
// judged by its list, the settings file and the bar's captions.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "resource.h"

namespace {

const std::string kCaption = "搜索引擎设置";
const std::string kBaidu = "https://www.baidu.com/s?wd=";

using Rows = std::vector<std::vector<std::string>>;
using Entries = std::vector<std::pair<std::string, std::string>>;

// The rows the list should show for (name, code) pairs, numbered from 0.
Rows Numbered(const Entries& entries) {
  Rows rows;
  for (size_t k = 0; k < entries.size(); ++k) rows.push_back({std::to_string(k), entries[k].first, entries[k].second});
  return rows;
}

// Engine `name` at position k of EngineIni: it searches at http://k.test/?q=.
std::pair<std::string, std::string> Entry(int k, const std::string& name) {
  return {name, "http://" + std::to_string(k) + ".test/?q="};
}

// The Engine section that OK writes into a file that had none: its GBK
// bytes. Entry k has shortcuts[k] and suggestUrls[k] where those are given
// and not empty.
std::string SavedEngines(const Entries& entries, const std::vector<std::string>& shortcuts = {},
                         const std::vector<std::string>& suggestUrls = {}) {
  std::vector<std::string> lines{"Number=" + std::to_string(entries.size())};
  for (size_t k = 0; k < entries.size(); ++k) {
    const std::string n = std::to_string(k);
    lines.push_back("E" + n + "=" + entries[k].first);
    lines.push_back("S" + n + "=" + entries[k].second);
    if (k < shortcuts.size() && !shortcuts[k].empty()) lines.push_back("A" + n + "=" + shortcuts[k]);
    if (k < suggestUrls.size() && !suggestUrls[k].empty()) lines.push_back("U" + n + "=" + suggestUrls[k]);
  }
  return Gbk(IniSection("Engine", lines));
}

// An Engine section of `names`, each at its Entry.
std::string EngineIni(const std::vector<std::string>& names) {
  Entries entries;
  for (size_t k = 0; k < names.size(); ++k) entries.push_back(Entry(static_cast<int>(k), names[k]));
  return SavedEngines(entries);
}

// The bar with the engine dialog open, and the dialog's list.
struct EngineSession : DialogSession {
  std::unique_ptr<RemoteListView> list;

  explicit EngineSession(std::optional<std::string> ini = kEmptySettings)
      : DialogSession(std::move(ini), ID_EDIT_ENGINES, kCaption) {
    MakeList();
  }
  bool Open() {
    DialogSession::Open();
    MakeList();
    return Ready();
  }
  void MakeList() {
    list = Ready() ? std::make_unique<RemoteListView>(bar.ProcessHandle(), driver->Item(IDC_ENGINE_LIST)) : nullptr;
  }
  // Clicks a row and waits until the click has filled the edit boxes (they
  // are emptied first so that the change can be seen).
  void ClickRow(int row) const {
    driver->SetText(IDC_ENGINE_NAME, "");
    driver->SetText(IDC_ENGINE_CODE, "");
    driver->MouseClick(list->Item(), list->RowRect(row));
    std::string name = list->Text(row, 1);
    EXPECT_TRUE(WaitFor([&] { return driver->Text(IDC_ENGINE_NAME) == name; })) << "click on row " << row;
  }
  bool End(int button) {
    list.reset();
    return DialogSession::End(button);
  }
};

}  // namespace

// Cancel writes no file; opened again, "全部恢复默认" puts the ten engines
// first and OK writes all twenty.
TEST(EngineDialog, OpensWithTheCatalogueOfAFileWithoutEnginesAndRestoresTheDefaults) {
  EngineSession session;
  ASSERT_TRUE(session.Ready());
  const RemoteListView& list = *session.list;
  SaveScreenshot(session.dialog, "151-engines");

  Entries tenBaidu(10, {"百度一下", kBaidu});
  EXPECT_EQ(list.Rows(), Numbered(tenBaidu));
  EXPECT_EQ(list.Images(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(SendMessageW(session.driver->Item(IDC_ENGINE_LIST), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x171);
  struct {
    const char* heading;
    int width;
  } columns[] = {{"顺序", 40}, {"名称", 120}, {"搜索代码", 320}, {"快捷词", 60}};
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);  // widths are given for 96 DPI
  ReleaseDC(nullptr, screen);
  for (int c = 0; c < 4; ++c) {
    ListViewColumn column = list.Column(c);
    EXPECT_EQ(column.heading, columns[c].heading);
    EXPECT_EQ(column.width, MulDiv(columns[c].width, dpi, 96));
    EXPECT_EQ(column.format, LVCFMT_LEFT);
  }
  EXPECT_EQ(list.Column(4).heading, "<none>");
  EXPECT_EQ(session.driver->Text(IDC_ENGINE_NAME), "");
  EXPECT_EQ(session.driver->Text(IDC_ENGINE_CODE), "");
  EXPECT_EQ(session.driver->Text(IDC_ENGINE_SHORTCUT), "");
  EXPECT_EQ(session.driver->Text(IDC_ENGINE_CODE_HINT),
            "查询词加在代码末尾，或放在 {q} 处；{q:gbk} 按 GBK 编码，{q:raw} 不编码");
  EXPECT_EQ(list.SelectionMark(), -1);

  ASSERT_TRUE(session.End(IDCANCEL));
  EXPECT_EQ(session.bar.SettingsBytes(), kEmptySettings);

  ASSERT_TRUE(session.Open());
  session.driver->Click(IDC_ENGINE_RESTORE);
  auto expected = DefaultEngineRows();
  expected.insert(expected.end(), 10, {"百度一下", kBaidu});
  EXPECT_EQ(session.list->Rows(), Numbered(expected));
  // Inserted rows show the first image; the rows loaded at opening keep theirs.
  EXPECT_EQ(session.list->Images(),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

  std::vector<std::string> shortcuts, suggestUrls;
  for (const StarterEngine& engine : StarterEngines()) {
    shortcuts.push_back(engine.shortcut);
    suggestUrls.push_back(engine.suggestUrl);
  }
  EXPECT_EQ(session.list->Rows(4)[2][3], "bing");

  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(), SavedEngines(expected, shortcuts, suggestUrls));
}

TEST(EngineDialog, UpAndDownMoveTheRowThatHoldsTheSelectionMark) {
  EngineSession session(EngineIni({"A", "B", "C", "D", "E"}));
  ASSERT_TRUE(session.Ready());
  const RemoteListView& list = *session.list;
  const DialogDriver& dialog = *session.driver;
  auto a = Entry(0, "A"), b = Entry(1, "B"), c = Entry(2, "C"), d = Entry(3, "D"), e = Entry(4, "E");

  session.ClickRow(3);
  EXPECT_EQ(dialog.Text(IDC_ENGINE_NAME), "D");
  EXPECT_EQ(dialog.Text(IDC_ENGINE_CODE), d.second);

  struct Step {
    int clickRow;  // -1: no click before the button
    int button;
    Entries rows;
    int mark;
  } steps[] = {
      {-1, IDC_ENGINE_UP, {a, b, d, c, e}, 2},
      {-1, IDC_ENGINE_UP, {a, d, b, c, e}, 1},
      {-1, IDC_ENGINE_DOWN, {a, b, d, c, e}, 2},
      {0, IDC_ENGINE_UP, {a, b, d, c, e}, 0},    // the first row cannot go up
      {4, IDC_ENGINE_DOWN, {a, b, d, c, e}, 4},  // nor the last one down
      {4, IDC_ENGINE_UP, {a, b, d, e, c}, 3},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << "click " << step.clickRow << ", button " << step.button);
    if (step.clickRow >= 0) session.ClickRow(step.clickRow);
    dialog.Click(step.button);
    EXPECT_EQ(list.Rows(), Numbered(step.rows));
    EXPECT_EQ(list.SelectionMark(), step.mark);
  }
  // After a move no row is highlighted; the moved rows were inserted afresh.
  EXPECT_EQ(list.SelectedCount(), 0);
  EXPECT_EQ(list.Images(), (std::vector<int>{0, 1, 0, 0, 2}));

  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(), SavedEngines({a, b, d, e, c}));
}

TEST(EngineDialog, DeleteRenumbersAndOkLeavesTheKeysAboveTheNewCount) {
  EngineSession session(EngineIni({"A", "B", "C", "D", "E"}));
  ASSERT_TRUE(session.Ready());
  session.ClickRow(1);
  session.driver->Click(IDC_ENGINE_DELETE);
  EXPECT_EQ(session.list->Rows(), Numbered({Entry(0, "A"), Entry(2, "C"), Entry(3, "D"), Entry(4, "E")}));
  EXPECT_EQ(session.list->Images(), (std::vector<int>{0, 2, 3, 4}));
  EXPECT_EQ(session.driver->Text(IDC_ENGINE_NAME), "B");  // the edit boxes keep their texts

  // The current row keeps its number: once the last row is gone it names no
  // row at all, and Modify and Delete find nothing to act on.
  session.ClickRow(3);
  session.driver->Click(IDC_ENGINE_DELETE);
  const Rows three = Numbered({Entry(0, "A"), Entry(2, "C"), Entry(3, "D")});
  EXPECT_EQ(session.list->Rows(), three);
  session.driver->SetText(IDC_ENGINE_NAME, "X");
  session.driver->Click(IDC_ENGINE_MODIFY);
  session.driver->Click(IDC_ENGINE_DELETE);
  EXPECT_EQ(session.list->Rows(), three);
  // Back to four rows for the save below.
  session.driver->SetText(IDC_ENGINE_NAME, "E");
  session.driver->SetText(IDC_ENGINE_CODE, "http://4.test/?q=");
  session.driver->Click(IDC_ENGINE_ADD);

  ASSERT_TRUE(session.End(IDOK));
  std::string ini = Gbk(IniSection("Engine", {"Number=4", "E0=A", "S0=http://0.test/?q=", "E1=C",
                                          "S1=http://2.test/?q=", "E2=D", "S2=http://3.test/?q=", "E3=E",
                                          "S3=http://4.test/?q=", "E4=E", "S4=http://4.test/?q="}));
  EXPECT_EQ(session.bar.SettingsBytes(), ini);
}

// The current row is set only by a click on the list: a row selected with
// the keyboard holds the selection mark, but Modify and Delete need a click.
TEST(EngineDialog, ModifyAndDeleteActOnTheClickedRowOnly) {
  std::string ini = EngineIni({"A", "B", "C"});
  EngineSession session(ini);
  ASSERT_TRUE(session.Ready());
  const DialogDriver& dialog = *session.driver;
  const RemoteListView& list = *session.list;
  const Rows original = list.Rows();

  dialog.SetText(IDC_ENGINE_NAME, "  X ");
  dialog.SetText(IDC_ENGINE_CODE, " y");
  dialog.Click(IDC_ENGINE_MODIFY);
  EXPECT_EQ(list.Rows(), original);

  dialog.PressKeyIn(IDC_ENGINE_LIST, VK_DOWN);
  ASSERT_GE(list.SelectionMark(), 0);
  dialog.Click(IDC_ENGINE_MODIFY);
  dialog.Click(IDC_ENGINE_DELETE);
  EXPECT_EQ(list.Rows(), original);

  session.ClickRow(2);
  EXPECT_EQ(dialog.Text(IDC_ENGINE_NAME), "C");  // the click filled the edit boxes
  dialog.SetText(IDC_ENGINE_NAME, "  X ");
  dialog.SetText(IDC_ENGINE_CODE, " y");
  dialog.Click(IDC_ENGINE_MODIFY);
  // Replaced as typed, blanks and all; the selection stays where it was.
  EXPECT_EQ(list.Rows(), (Rows{original[0], original[1], {"2", "  X ", " y"}}));
  EXPECT_EQ(list.SelectionMark(), 2);
  EXPECT_EQ(list.SelectedCount(), 1);
  dialog.Click(IDC_ENGINE_MODIFY);  // again: the same row, the same texts
  EXPECT_EQ(list.Rows(), (Rows{original[0], original[1], {"2", "  X ", " y"}}));

  ASSERT_TRUE(session.End(IDCANCEL));
  EXPECT_EQ(session.bar.SettingsBytes(), ini);
}

TEST(EngineDialog, AddTrimsTheFrontAndRefusesMissingTextsAndNamesItHasInAnyCase) {
  EngineSession session(EngineIni({"Google谷歌", "MFC"}));
  ASSERT_TRUE(session.Ready());
  const DialogDriver& dialog = *session.driver;
  const RemoteListView& list = *session.list;
  HWND nameBox = dialog.Item(IDC_ENGINE_NAME), codeBox = dialog.Item(IDC_ENGINE_CODE);
  Entries entries{Entry(0, "Google谷歌"), Entry(1, "MFC")};

  enum Outcome { kFocusName, kFocusCode, kDuplicate, kAdded };
  struct Case {
    const char* name;
    const char* code;
    Outcome outcome;
    const char* message;  // kDuplicate
  } cases[] = {
      {"", "", kFocusName, nullptr},
      {" \t ", "http://x/", kFocusName, nullptr},
      {"New", "   ", kFocusCode, nullptr},
      {"  google谷歌", "http://x/", kDuplicate, "google谷歌 已经存在!"},
      {"mfc", "", kFocusCode, nullptr},  // the code is looked at before the name's uniqueness
      {"MF", "  http://mf/?q=", kAdded, nullptr},  // only a whole name is a duplicate
      {"mF", "http://again/", kDuplicate, "mF 已经存在!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog.SetText(IDC_ENGINE_NAME, c.name);
    dialog.SetText(IDC_ENGINE_CODE, c.code);
    if (c.outcome == kDuplicate) {
      dialog.ClickLater(IDC_ENGINE_ADD);
      auto box = WaitForMessageBox(session.bar.ProcessId(), session.dialog);
      ASSERT_TRUE(box);
      EXPECT_EQ(box->caption, "Quarrow");
      EXPECT_EQ(box->text, c.message);
      EXPECT_NE(box->icon, nullptr);
      EXPECT_EQ(GetDlgItem(box->window, IDCANCEL), nullptr);  // an OK button alone
      if (c.message == std::string("google谷歌 已经存在!")) SaveScreenshot(box->window, "151-duplicate-message");
      CloseMessageBox(*box);
    } else {
      dialog.Click(IDC_ENGINE_ADD);
    }
    if (c.outcome == kAdded) {
      std::string name(c.name), code(c.code);
      entries.push_back({name.substr(name.find_first_not_of(' ')), code.substr(code.find_first_not_of(' '))});
    }
    EXPECT_EQ(list.Rows(), Numbered(entries));
    if (c.outcome == kFocusName) {
      EXPECT_EQ(dialog.Focus(), nameBox);
    } else if (c.outcome == kFocusCode) {
      EXPECT_EQ(dialog.Focus(), codeBox);
    }
    // The edit boxes keep what was typed.
    EXPECT_EQ(dialog.Text(IDC_ENGINE_NAME), c.name);
    EXPECT_EQ(dialog.Text(IDC_ENGINE_CODE), c.code);
  }
  EXPECT_EQ(list.Images(), (std::vector<int>{0, 1, 0}));

  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(), SavedEngines(entries));
}

TEST(EngineDialog, TextsLongerThan1023BytesAreCutByAMoveAndBySaving) {
  EngineSession session(EngineIni({"A", "B"}));
  ASSERT_TRUE(session.Ready());
  const std::string longName(1500, 'n'), longCode(1200, 'c');
  session.ClickRow(1);
  session.driver->SetText(IDC_ENGINE_NAME, longName);
  session.driver->SetText(IDC_ENGINE_CODE, longCode);
  session.driver->Click(IDC_ENGINE_MODIFY);
  EXPECT_EQ(session.list->Text(1, 1), longName);  // the list holds what was typed

  session.driver->Click(IDC_ENGINE_DOWN);  // on the last row: nothing
  EXPECT_EQ(session.list->Text(1, 1), longName);
  session.driver->Click(IDC_ENGINE_UP);
  EXPECT_EQ(session.list->Rows(), (Rows{{"0", longName.substr(0, 1023), longCode.substr(0, 1023)},
                                        {"1", "A", "http://0.test/?q="}}));

  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(),
            SavedEngines({{longName.substr(0, 1023), longCode.substr(0, 1023)}, Entry(0, "A")}));
}

// The bar rebuilds its engine menu after OK only: its Search button and the
// code it searches with go back to entry 0, as the file now holds it.
TEST(EngineDialog, OkRebuildsTheEngineMenuAndCancelChangesNothing) {
  std::string ini = "; hand-written\r\n" + EngineIni({"A", "B", "C", "D", "E"}) + "\r\n[Other]\r\nx = 1\r\n";
  EngineSession session(ini);
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(session.End(IDCANCEL));
  session.bar.Command(ID_ENGINE_FIRST + 4);
  ASSERT_EQ(session.bar.Text(IDC_SEARCH), "E");

  // Every kind of change, then Cancel.
  ASSERT_TRUE(session.Open());
  const DialogDriver* dialog = session.driver.get();
  dialog->Click(IDC_ENGINE_RESTORE);
  session.ClickRow(12);
  dialog->Click(IDC_ENGINE_UP);
  dialog->Click(IDC_ENGINE_DELETE);
  dialog->SetText(IDC_ENGINE_NAME, "added");
  dialog->SetText(IDC_ENGINE_CODE, "http://added/");
  dialog->Click(IDC_ENGINE_ADD);
  dialog->Click(IDC_ENGINE_MODIFY);
  ASSERT_TRUE(session.End(IDCANCEL));
  EXPECT_EQ(session.bar.SettingsBytes(), ini);
  EXPECT_EQ(session.bar.Text(IDC_SEARCH), "E");

  ASSERT_TRUE(session.Open());
  session.ClickRow(0);
  session.driver->SetText(IDC_ENGINE_NAME, "新名字");
  session.driver->SetText(IDC_ENGINE_CODE, "http://new.test/?q=");
  session.driver->Click(IDC_ENGINE_MODIFY);
  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.Text(IDC_SEARCH), "新名字");
  session.bar.SetQuery("查询");
  session.bar.Click(IDC_SEARCH);
  auto launches = session.bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_NE(launches[0].find("http://new.test/?q=" + PercentEncoded("查询")), std::string::npos) << launches[0];
}

// A shortcut is edited in its field and shown in its column; one that another
// engine has, in any letter case, or one of two words, is refused with a
// message as a name the list has is, and the list stays as it was. OK saves
// the shortcuts, and the bar searches with them at once.
TEST(EngineDialog, ShortcutsAreEditedAndADuplicateIsRefused) {
  EngineSession session(EngineIni({"A", "B", "C"}));
  ASSERT_TRUE(session.Ready());
  const DialogDriver& dialog = *session.driver;
  const RemoteListView& list = *session.list;
  session.ClickRow(0);
  dialog.SetText(IDC_ENGINE_SHORTCUT, " a ");
  dialog.Click(IDC_ENGINE_MODIFY);
  EXPECT_EQ(list.Text(0, 3), "a");

  struct Refusal {
    bool add;
    const char* shortcut;
    const char* message;
  } refusals[] = {
      {false, "A", "快捷词已被“A”使用。"},
      {true, "a", "快捷词已被“A”使用。"},
      {true, "x y", "快捷词只能是一个词，中间不能有空格。"},
  };
  session.ClickRow(1);
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.shortcut);
    const Rows before = list.Rows(4);
    dialog.SetText(IDC_ENGINE_NAME, refusal.add ? "New" : "B");
    dialog.SetText(IDC_ENGINE_SHORTCUT, refusal.shortcut);
    dialog.ClickLater(refusal.add ? IDC_ENGINE_ADD : IDC_ENGINE_MODIFY);
    auto box = WaitForMessageBox(session.bar.ProcessId(), session.dialog);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, refusal.message);
    if (refusal.add) SaveScreenshot(box->window, "151-shortcut-taken");
    CloseMessageBox(*box);
    EXPECT_EQ(list.Rows(4), before);
    EXPECT_EQ(dialog.Focus(), dialog.Item(IDC_ENGINE_SHORTCUT));
  }
  dialog.SetText(IDC_ENGINE_NAME, "New");
  dialog.SetText(IDC_ENGINE_CODE, "http://new.test/?q={q}&x=1");
  dialog.SetText(IDC_ENGINE_SHORTCUT, "n");
  dialog.SetText(IDC_ENGINE_SUGGEST, " http://new.test/su?q={q} ");
  dialog.Click(IDC_ENGINE_ADD);
  session.ClickRow(0);
  EXPECT_EQ(dialog.Text(IDC_ENGINE_SUGGEST), "");
  session.ClickRow(3);
  EXPECT_EQ(dialog.Text(IDC_ENGINE_SUGGEST), "http://new.test/su?q={q}");
  EXPECT_EQ(list.Rows(4).back(), (std::vector<std::string>{"3", "New", "http://new.test/?q={q}&x=1", "n"}));

  ASSERT_TRUE(session.End(IDOK));
  // A key the file lacked goes at the end of its section, as the profile functions put it.
  EXPECT_EQ(session.bar.SettingsBytes(),
            Gbk(IniSection("Engine", {"Number=4", "E0=A", "S0=http://0.test/?q=", "E1=B", "S1=http://1.test/?q=",
                                      "E2=C", "S2=http://2.test/?q=", "A0=a", "E3=New",
                                      "S3=http://new.test/?q={q}&x=1", "A3=n", "U3=http://new.test/su?q={q}"})));
  session.bar.SetQuery("N a&b");
  session.bar.Click(IDC_SEARCH);
  auto launches = session.bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_NE(launches[0].find("http://new.test/?q=a%26b&x=1"), std::string::npos) << launches[0];
}
