#include "dialogs/win/KeySiteSettingsDlg.h"

#include "dialogs/win/AlreadyExistsBox.h"
#include "framework/win/DialogInitData.h"
#include "resource.h"
#include "settings/win/ReadSettings.h"
#include "settings/win/WholeFileSave.h"

KeySiteSettingsDlg::KeySiteSettingsDlg(HWND owner, std::string settingsPath)
    : Dialog(IDD_KEYSITES, owner),
      m_settingsPath(std::move(settingsPath)),
      m_keywords{kKeywordHalf, KeywordList(), {}},
      m_sites{kSiteHalf, SiteList(), {}} {
  BindHalf(m_keywords);
  BindHalf(m_sites);
}

void KeySiteSettingsDlg::BindHalf(Half& half) {
  const HalfControls& ids = half.controls;
  OnControl(ids.list, LBN_SELCHANGE, [this, &half] { OnSelectionChange(half); });
  OnCommand(ids.add, [this, &half] { OnAdd(half); });
  OnCommand(ids.modify, [this, &half] { OnModify(half); });
  OnCommand(ids.remove, [this, &half] { OnDelete(half); });
  OnCommand(ids.up, [this, &half] { OnUp(half); });
  OnCommand(ids.down, [this, &half] { OnDown(half); });
}

void KeySiteSettingsDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Text(IDC_KEYWORD_EDIT, m_keywords.editText);
  exchange.Text(IDC_SITE_EDIT, m_sites.editText);
}

BOOL KeySiteSettingsDlg::OnInitDialog() {
  // The count lists get "5" to "15" from the template's initialisation data;
  // no choice is selected and nothing ever reads one.
  ExecuteDialogInitData(Hwnd(), IDD_KEYSITES);
  Dialog::OnInitDialog();
  SettingsSnapshot snapshot = ReadSettingsSnapshot(m_settingsPath);
  LoadHalf(m_keywords, snapshot.File());
  LoadHalf(m_sites, snapshot.File());
  return TRUE;
}

void KeySiteSettingsDlg::LoadHalf(Half& half, const SettingsFile& file) {
  half.list.LoadForEditing(file);
  for (const std::string& entry : half.list.Entries()) {
    SendText(Item(half.controls.list), LB_ADDSTRING, 0, entry);
  }
}

int KeySiteSettingsDlg::Selection(const Half& half) const {
  LRESULT selected = SendDlgItemMessageW(Hwnd(), half.controls.list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR || selected < 0 || static_cast<size_t>(selected) >= half.list.Count()) return -1;
  return static_cast<int>(selected);
}

void KeySiteSettingsDlg::OnSelectionChange(Half& half) {
  int selected = Selection(half);
  if (selected < 0) return;
  SetText(Item(half.controls.edit), half.list.Entries()[static_cast<size_t>(selected)]);
}

void KeySiteSettingsDlg::OnAdd(Half& half) {
  std::string text = WindowText(Item(half.controls.edit));
  switch (half.list.AddEntry(text)) {
    case AddResult::TextMissing:
      SetFocus(Item(half.controls.edit));
      break;
    case AddResult::Duplicate:
      ShowAlreadyExists(Hwnd(), text);
      break;
    case AddResult::Added:
      SendText(Item(half.controls.list), LB_ADDSTRING, 0, half.list.Entries().back());
      break;
    default:
      break;
  }
}

void KeySiteSettingsDlg::OnModify(Half& half) {
  UpdateData(true);
  int selected = Selection(half);
  if (selected < 0) return;
  half.list.ReplaceEntry(static_cast<size_t>(selected), half.editText);
  ReplaceRow(half, selected, selected, half.editText);
  SendDlgItemMessageW(Hwnd(), half.controls.list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void KeySiteSettingsDlg::OnDelete(Half& half) {
  int selected = Selection(half);
  if (selected < 0) return;
  half.list.RemoveEntry(static_cast<size_t>(selected));
  SendDlgItemMessageW(Hwnd(), half.controls.list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  SendDlgItemMessageW(Hwnd(), half.controls.list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

// Up and Down insert the edit box's text, which is the selected entry's
// unless the user has changed it since. The list box reports no selection
// change for a selection the program sets, so the edit box keeps that text.
void KeySiteSettingsDlg::OnUp(Half& half) {
  UpdateData(true);
  int selected = Selection(half);
  if (selected <= 0) return;
  half.list.MoveUp(static_cast<size_t>(selected), half.editText);
  ReplaceRow(half, selected, selected - 1, half.editText);
  SendDlgItemMessageW(Hwnd(), half.controls.list, LB_SETCURSEL, static_cast<WPARAM>(selected - 1), 0);
  if (half.controls.focusListAfterUp) SetFocus(Item(half.controls.list));
}

void KeySiteSettingsDlg::OnDown(Half& half) {
  UpdateData(true);
  int selected = Selection(half);
  if (selected < 0 || static_cast<size_t>(selected) + 1 >= half.list.Count()) return;
  half.list.MoveDown(static_cast<size_t>(selected), half.editText);
  ReplaceRow(half, selected, selected + 1, half.editText);
  SendDlgItemMessageW(Hwnd(), half.controls.list, LB_SETCURSEL, static_cast<WPARAM>(selected + 1), 0);
  SetFocus(Item(half.controls.list));
}

void KeySiteSettingsDlg::ReplaceRow(Half& half, int from, int to, const std::string& text) {
  SendDlgItemMessageW(Hwnd(), half.controls.list, LB_DELETESTRING, static_cast<WPARAM>(from), 0);
  SendText(Item(half.controls.list), LB_INSERTSTRING, static_cast<WPARAM>(to), text);
}

void KeySiteSettingsDlg::OnOK() {
  UpdateData(true);
  // Copies of the lists: the bar may need the writes after the dialog has gone.
  m_saved.writes = [keywords = m_keywords.list, sites = m_sites.list](const SettingsFile& file) {
    keywords.Save(file);
    sites.Save(file);
  };
  m_saved.result = SaveWholeFile(m_settingsPath, m_saved.writes, WriteMode::kReplace);
  Dialog::OnOK();
}
