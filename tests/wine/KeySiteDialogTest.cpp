// The keyword and site settings dialog end to end: both halves are worked the
// same way through one table of their controls, and judged by the list boxes,
// the focus, the settings file and the bar's captions.
#include <windows.h>
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "dialogs/win/KeySiteSettingsDlg.h"
#include "resource.h"

namespace {

const std::string kCaption = "关键词(Key)网站(Site)设置";
using Entries = std::vector<std::string>;

// Each half's controls as the dialog has them, and its list as the settings file has it.
struct Half : KeySiteSettingsDlg::HalfControls {
  const char* name;
  const TextListKind* kind;
};

const Half kHalves[] = {
    {KeySiteSettingsDlg::kKeywordHalf, "keywords", &kKeywordListKind},
    {KeySiteSettingsDlg::kSiteHalf, "sites", &kSiteListKind},
};

// A section of `half` holding `entries` as OK writes it: its GBK bytes.
std::string ListSection(const Half& half, const Entries& entries) {
  std::vector<std::string> lines{"Number=" + std::to_string(entries.size())};
  for (size_t k = 0; k < entries.size(); ++k) lines.push_back(std::string(half.kind->entryPrefix) + std::to_string(k) + "=" + entries[k]);
  return Gbk(IniSection(std::string(half.kind->section), lines));
}

// Entries "<letter>0".."<letter><count - 1>": k0.. for keywords, s0.. for sites.
Entries Numbered(const Half& half, int count) {
  Entries entries;
  for (int k = 0; k < count; ++k) entries.push_back((half.list == IDC_KEYWORD_LIST ? "k" : "s") + std::to_string(k));
  return entries;
}

// The list of a combo box of the process while it is dropped down.
HWND DroppedComboList(DWORD processId) {
  std::vector<HWND> lists = FindWindows({.processId = processId, .className = "ComboLBox", .visibleOnly = true});
  return lists.empty() ? nullptr : lists.front();
}

struct KeySiteSession : DialogSession {
  explicit KeySiteSession(std::optional<std::string> ini = kEmptySettings)
      : DialogSession(std::move(ini), ID_EDIT_KEYWORDS_SITES, kCaption) {}
  Entries Items(const Half& half) const { return ListBoxItems(driver->Item(half.list)); }
  int Selection(const Half& half) const { return ListBoxSelection(driver->Item(half.list)); }
  // Clicks an entry and waits until its text has reached the edit box.
  void ClickEntry(const Half& half, int index) const {
    std::string text = Items(half).at(static_cast<size_t>(index));
    driver->SetText(half.edit, "");
    ClickListBoxEntry(*driver, half.list, index);
    EXPECT_TRUE(WaitFor([&] { return driver->Text(half.edit) == text; })) << "click on " << text;
  }
};

}  // namespace

// Cancel writes nothing; opened again, a count chosen in either list is
// neither stored nor used: OK writes the ten defaults of each.
TEST(KeySiteDialog, OpensWithTheDefaultsAndCountListsWhoseChoiceIsNeitherStoredNorUsed) {
  KeySiteSession session;
  ASSERT_TRUE(session.Ready());
  SaveScreenshot(session.dialog, "152-keywords-sites");
  const Entries counts{"5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"};
  for (const Half& half : kHalves) {
    SCOPED_TRACE(half.name);
    EXPECT_EQ(session.Items(half), Entries(10, std::string(half.kind->entryDefault)));
    EXPECT_EQ(session.Selection(half), LB_ERR);
    EXPECT_EQ(session.driver->Text(half.edit), "");
  }
  for (int combo : {IDC_KEYWORD_COUNT, IDC_SITE_COUNT}) {
    EXPECT_EQ(ComboItems(session.driver->Item(combo)), counts);
    EXPECT_EQ(SendMessageW(session.driver->Item(combo), CB_GETCURSEL, 0, 0), CB_ERR);
  }
  ASSERT_TRUE(session.End(IDCANCEL));
  EXPECT_EQ(session.bar.SettingsBytes(), kEmptySettings);

  ASSERT_TRUE(session.Open());
  for (int combo : {IDC_KEYWORD_COUNT, IDC_SITE_COUNT}) {
    // Dropped down with F4, and "15" clicked in the list that drops.
    session.driver->PressKeyIn(combo, VK_F4);
    HWND dropped = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dropped = DroppedComboList(session.bar.ProcessId())) != nullptr; }));
    ClickListEntry(*session.driver, dropped, 10);
    EXPECT_EQ(SendMessageW(session.driver->Item(combo), CB_GETCURSEL, 0, 0), 10);
    EXPECT_EQ(session.driver->Text(combo), "15");
  }
  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(), ListSection(kHalves[0], Entries(10, "MFC")) +
                                             ListSection(kHalves[1], Entries(10, "csdn.net")));
}

TEST(KeySiteDialog, AddTrimsTheFrontAndRefusesEmptyTextsAndWholeTextDuplicates) {
  KeySiteSession session;
  ASSERT_TRUE(session.Ready());
  const DialogDriver& dialog = *session.driver;
  std::string file;
  for (const Half& half : kHalves) {
    SCOPED_TRACE(half.name);
    const std::string entry(half.kind->entryDefault);
    std::string lower = entry, prefix = entry.substr(0, 2);
    for (char& c : lower) c = static_cast<char>(tolower(c));
    Entries expected(10, entry);
    struct Case {
      std::string typed;
      enum { kFocus, kMessage, kAdded } outcome;
    } cases[] = {
        {" \t ", Case::kFocus},
        {"  " + lower, Case::kMessage},  // the same text in other letters
        {prefix, Case::kAdded},          // the first letters of an entry are a text of their own
        {"  中文", Case::kAdded},
        {"中文", Case::kMessage},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.typed);
      dialog.SetText(half.edit, c.typed);
      if (c.outcome == Case::kMessage) {
        dialog.ClickLater(half.add);
        auto box = WaitForMessageBox(session.bar.ProcessId(), session.dialog);
        ASSERT_TRUE(box);
        std::string trimmed = c.typed.substr(c.typed.find_first_not_of(' '));
        EXPECT_EQ(box->text, trimmed + " 已经存在!");
        EXPECT_EQ(box->caption, "Quarrow");
        EXPECT_NE(box->icon, nullptr);
        CloseMessageBox(*box);
      } else {
        dialog.Click(half.add);
      }
      if (c.outcome == Case::kAdded) expected.push_back(c.typed.substr(c.typed.find_first_not_of(' ')));
      if (c.outcome == Case::kFocus) {
        EXPECT_EQ(dialog.Focus(), dialog.Item(half.edit));
      }
      EXPECT_EQ(session.Items(half), expected);
      EXPECT_EQ(session.Selection(half), LB_ERR);
      EXPECT_EQ(dialog.Text(half.edit), c.typed);
    }
    file += ListSection(half, expected);
  }
  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(), file);  // keywords first, then sites
}

TEST(KeySiteDialog, UpAndDownInsertTheEditBoxTextAndFocusAsEachHalfDoes) {
  std::string ini = ListSection(kHalves[0], Numbered(kHalves[0], 5)) + ListSection(kHalves[1], Numbered(kHalves[1], 5));
  KeySiteSession session(ini);
  ASSERT_TRUE(session.Ready());
  const DialogDriver& dialog = *session.driver;
  std::string file;
  for (const Half& half : kHalves) {
    SCOPED_TRACE(half.name);
    Entries e = Numbered(half, 5);
    HWND list = dialog.Item(half.list);
    struct Step {
      int click;             // entry clicked first, or -1
      const char* newText;   // typed into the edit box before the button, or null
      int button;
      Entries entries;
      int selection;
      bool moved;
    } steps[] = {
        {3, nullptr, half.up, {e[0], e[1], e[3], e[2], e[4]}, 2, true},
        {-1, nullptr, half.up, {e[0], e[3], e[1], e[2], e[4]}, 1, true},
        {-1, nullptr, half.up, {e[3], e[0], e[1], e[2], e[4]}, 0, true},
        {-1, nullptr, half.up, {e[3], e[0], e[1], e[2], e[4]}, 0, false},  // already first
        {-1, nullptr, half.down, {e[0], e[3], e[1], e[2], e[4]}, 1, true},
        {4, nullptr, half.down, {e[0], e[3], e[1], e[2], e[4]}, 4, false},  // already last
        {2, "changed", half.down, {e[0], e[3], e[2], "changed", e[4]}, 3, true},
        {1, "", half.up, {"", e[0], e[2], "changed", e[4]}, 0, true},
    };
    for (const Step& step : steps) {
      SCOPED_TRACE(testing::Message() << "click " << step.click << ", button " << step.button);
      if (step.click >= 0) session.ClickEntry(half, step.click);
      if (step.newText) dialog.SetText(half.edit, step.newText);
      std::string edit = dialog.Text(half.edit);
      dialog.Click(step.button);
      EXPECT_EQ(session.Items(half), step.entries);
      EXPECT_EQ(session.Selection(half), step.selection);
      EXPECT_EQ(dialog.Text(half.edit), edit);  // a selection set by the program fills nothing
      bool listFocused = step.moved && (step.button == half.down || half.focusListAfterUp);
      EXPECT_EQ(dialog.Focus(), listFocused ? list : dialog.Item(step.button));
    }
    file += ListSection(half, steps[std::size(steps) - 1].entries);
  }
  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(), file);
}

TEST(KeySiteDialog, ModifyAndDeleteNeedASelectionAndLeaveNone) {
  std::string ini = ListSection(kHalves[0], Numbered(kHalves[0], 3)) + ListSection(kHalves[1], Numbered(kHalves[1], 3));
  KeySiteSession session(ini);
  ASSERT_TRUE(session.Ready());
  const DialogDriver& dialog = *session.driver;
  for (const Half& half : kHalves) {
    SCOPED_TRACE(half.name);
    Entries e = Numbered(half, 3);
    session.ClickEntry(half, 1);
    dialog.SetText(half.edit, " new ");
    dialog.Click(half.modify);
    EXPECT_EQ(session.Items(half), (Entries{e[0], " new ", e[2]}));  // as typed
    EXPECT_EQ(session.Selection(half), LB_ERR);
    dialog.SetText(half.edit, "again");
    dialog.Click(half.modify);  // nothing is selected now
    dialog.Click(half.remove);
    EXPECT_EQ(session.Items(half), (Entries{e[0], " new ", e[2]}));

    session.ClickEntry(half, 0);
    dialog.Click(half.remove);
    EXPECT_EQ(session.Items(half), (Entries{" new ", e[2]}));
    EXPECT_EQ(session.Selection(half), LB_ERR);
    EXPECT_EQ(dialog.Text(half.edit), e[0]);  // the edit box keeps its text
  }
  ASSERT_TRUE(session.End(IDCANCEL));
  EXPECT_EQ(session.bar.SettingsBytes(), ini);
}

// After OK the bar rebuilds both menus, so both choices go back to entry 0,
// whichever list was edited; after Cancel nothing changes, in the file either.
TEST(KeySiteDialog, OkRebuildsBothMenusAndCancelChangesNothing) {
  std::string ini = ListSection(kHalves[0], Numbered(kHalves[0], 5)) + "\r\n; sites\r\n" +
                    ListSection(kHalves[1], Numbered(kHalves[1], 5));
  KeySiteSession session(ini);
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(session.End(IDCANCEL));
  session.bar.Command(ID_KEYWORD_FIRST + 3);
  session.bar.Command(ID_SITE_FIRST + 2);
  ASSERT_EQ(session.bar.Text(IDC_KEYWORD_BUTTON), "k3");
  ASSERT_EQ(session.bar.Text(IDC_SITE_BUTTON), "s2");

  ASSERT_TRUE(session.Open());
  for (const Half& half : kHalves) {
    session.ClickEntry(half, 2);
    session.driver->Click(half.up);
    session.driver->Click(half.remove);
    session.driver->SetText(half.edit, "added");
    session.driver->Click(half.add);
    session.ClickEntry(half, 0);
    session.driver->SetText(half.edit, "modified");
    session.driver->Click(half.modify);
  }
  ASSERT_TRUE(session.End(IDCANCEL));
  EXPECT_EQ(session.bar.SettingsBytes(), ini);
  EXPECT_EQ(session.bar.Text(IDC_KEYWORD_BUTTON), "k3");
  EXPECT_EQ(session.bar.Text(IDC_SITE_BUTTON), "s2");

  ASSERT_TRUE(session.Open());
  session.ClickEntry(kHalves[0], 0);
  session.driver->SetText(IDC_KEYWORD_EDIT, "关键词");
  session.driver->Click(IDC_KEYWORD_MODIFY);
  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.Text(IDC_KEYWORD_BUTTON), "关键词");
  EXPECT_EQ(session.bar.Text(IDC_SITE_BUTTON), "s0");
}
