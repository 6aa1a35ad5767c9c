#include "dialogs/win/EngineSettingsDlg.h"

#include <commctrl.h>

#include "base/Text.h"
#include "base/Texts.h"
#include "dialogs/win/AlreadyExistsBox.h"
#include "base/Dpi.h"
#include "framework/win/AppTitle.h"
#include "framework/win/WideText.h"
#include "framework/win/Dpi.h"
#include "framework/win/ListView.h"
#include "resource.h"
#include "settings/win/ReadSettings.h"
#include "settings/win/WholeFileSave.h"

namespace {

// Grid lines, header drag and drop, full-row select, one-click activate, flat
// scroll bars.
constexpr DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT |
                              LVS_EX_ONECLICKACTIVATE | LVS_EX_FLATSB;
static_assert(kListStyles == 0x171);

// Image k of the list, in the order the icons are appended.
constexpr int kEngineIcons[] = {300, 301, 308, 302, 303, 304, 309, 307, 305, 306};
constexpr int kImageCount = sizeof kEngineIcons / sizeof kEngineIcons[0];

enum Column { kOrderColumn = 0, kNameColumn = 1, kCodeColumn = 2, kShortcutColumn = 3 };

// Rows inserted after the dialog has opened show the list's first image.
constexpr int kInsertedRowImage = 0;

}  // namespace

EngineSettingsDlg::EngineSettingsDlg(HWND owner, std::string settingsPath)
    : Dialog(IDD_ENGINES, owner), m_settingsPath(std::move(settingsPath)) {
  // The list view's window class must exist before the template is made.
  common_controls::RegisterClasses(ICC_LISTVIEW_CLASSES);

  OnNotify(IDC_ENGINE_LIST, NM_CLICK, [this](NMHDR*) { return OnListClick(); });
  OnCommand(IDC_ENGINE_ADD, [this] { OnAdd(); });
  OnCommand(IDC_ENGINE_MODIFY, [this] { OnModify(); });
  OnCommand(IDC_ENGINE_DELETE, [this] { OnDelete(); });
  OnCommand(IDC_ENGINE_RESTORE, [this] { OnRestoreDefaults(); });
  OnCommand(IDC_ENGINE_UP, [this] { OnUp(); });
  OnCommand(IDC_ENGINE_DOWN, [this] { OnDown(); });
}

void EngineSettingsDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Control(IDC_ENGINE_LIST, m_list);
  exchange.Text(IDC_ENGINE_NAME, m_name);
  exchange.Text(IDC_ENGINE_CODE, m_code);
  exchange.Text(IDC_ENGINE_SHORTCUT, m_shortcut);
  exchange.Text(IDC_ENGINE_SUGGEST, m_suggest);
}

BOOL EngineSettingsDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kListStyles);
  BuildImageList();
  // Column widths are pixels at 96 DPI; the list's font grows with the density.
  const int density = static_cast<int>(dpi::WindowDpi(Hwnd()));
  ListViewInsertColumn(m_list, kOrderColumn, kColumnOrder, ScaleToDpi(40, density));
  ListViewInsertColumn(m_list, kNameColumn, kColumnName, ScaleToDpi(120, density));
  ListViewInsertColumn(m_list, kCodeColumn, kColumnSearchCode, ScaleToDpi(320, density));
  ListViewInsertColumn(m_list, kShortcutColumn, kColumnShortcut, ScaleToDpi(60, density));

  m_catalogue.LoadForEditing(ReadSettingsSnapshot(m_settingsPath).File());
  const auto& entries = m_catalogue.Entries();
  for (size_t k = 0; k < entries.size(); ++k) {
    int row = static_cast<int>(k);
    InsertRow(row, entries[k], row % kImageCount);
  }
  return TRUE;
}

void EngineSettingsDlg::BuildImageList() {
  // The small icon size of the dialog's density, which the rows' height follows.
  const UINT density = dpi::WindowDpi(Hwnd());
  const int size = dpi::IconPixels(density, dpi::IconSize::Small);
  m_images.Reset(common_controls::CreateImageList(size, size, ILC_COLOR16, 4, 4));
  for (int id : kEngineIcons) {
    IconHandle icon(dpi::LoadProgramIcon(id, density, dpi::IconSize::Small));
    common_controls::AddIcon(m_images.Get(), icon.Get());  // the list keeps a copy
  }
  SendMessageW(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_images.Get()));
}

void EngineSettingsDlg::InsertRow(int row, const EngineEntry& entry, int image) {
  ListViewInsertRow(m_list, row, FormatInt(row), image);
  SetRowTexts(row, entry);
}

void EngineSettingsDlg::SetRowTexts(int row, const EngineEntry& entry) {
  ListViewSetText(m_list, row, kNameColumn, entry.name);
  ListViewSetText(m_list, row, kCodeColumn, entry.searchCode);
  ListViewSetText(m_list, row, kShortcutColumn, entry.shortcut);
}

void EngineSettingsDlg::RenumberRows(int from) {
  int count = ListViewRowCount(m_list);
  for (int row = from < 0 ? 0 : from; row < count; ++row) {
    ListViewSetText(m_list, row, kOrderColumn, FormatInt(row));
  }
}

// Only a click makes a row current: the row that holds the selection mark.
LRESULT EngineSettingsDlg::OnListClick() {
  int mark = ListViewSelectionMark(m_list);
  m_currentRow = mark >= 0 && static_cast<size_t>(mark) < m_catalogue.Count() ? mark : -1;
  if (m_currentRow >= 0) {
    const EngineEntry& entry = m_catalogue.Entries()[static_cast<size_t>(m_currentRow)];
    SetText(Item(IDC_ENGINE_NAME), entry.name);
    SetText(Item(IDC_ENGINE_CODE), entry.searchCode);
    SetText(Item(IDC_ENGINE_SHORTCUT), entry.shortcut);
    SetText(Item(IDC_ENGINE_SUGGEST), entry.suggestUrl);
  }
  return 0;
}

void EngineSettingsDlg::OnAdd() {
  UpdateData(true);
  const AddResult result = m_catalogue.AddEntry(m_name, m_code, m_shortcut, m_suggest);
  switch (result) {
    case AddResult::NameMissing:
      SetFocus(Item(IDC_ENGINE_NAME));
      break;
    case AddResult::CodeMissing:
      SetFocus(Item(IDC_ENGINE_CODE));
      break;
    case AddResult::Duplicate:
      ShowAlreadyExists(Hwnd(), m_name);
      break;
    case AddResult::ShortcutHasBlank:
    case AddResult::ShortcutTaken:
      ShowShortcutRefused(result, m_catalogue.Count());
      break;
    case AddResult::Added: {
      size_t last = m_catalogue.Count() - 1;
      InsertRow(static_cast<int>(last), m_catalogue.Entries()[last], kInsertedRowImage);
      break;
    }
    default:
      break;
  }
}

void EngineSettingsDlg::OnModify() {
  if (m_currentRow < 0 || static_cast<size_t>(m_currentRow) >= m_catalogue.Count()) return;
  UpdateData(true);
  const size_t row = static_cast<size_t>(m_currentRow);
  const AddResult result = m_catalogue.ReplaceEntry(row, m_name, m_code, m_shortcut, m_suggest);
  if (result != AddResult::Added) {
    ShowShortcutRefused(result, row);
    return;
  }
  SetRowTexts(m_currentRow, m_catalogue.Entries()[row]);
}

// Like a name the list already has: a message box with the information icon.
void EngineSettingsDlg::ShowShortcutRefused(AddResult result, size_t position) {
  std::string message(kShortcutHasBlank);
  if (result == AddResult::ShortcutTaken) {
    const size_t holder = m_catalogue.OtherWithShortcut(m_shortcut, position);
    const std::string& name = m_catalogue.Entries()[holder].name;
    message = std::string(kShortcutTakenBy) + name + std::string(kShortcutTakenEnd);
  }
  MessageBoxW(Hwnd(), Wide(message).c_str(), Wide(AppTitle()).c_str(), MB_ICONINFORMATION | MB_OK);
  SetFocus(Item(IDC_ENGINE_SHORTCUT));
}

// The current row goes, but only while some row holds the selection mark. The
// current row keeps its number, so it may now stand for the next engine.
void EngineSettingsDlg::OnDelete() {
  if (ListViewSelectionMark(m_list) < 0) return;
  if (m_currentRow < 0 || static_cast<size_t>(m_currentRow) >= m_catalogue.Count()) return;
  m_catalogue.RemoveEntry(static_cast<size_t>(m_currentRow));
  ListViewDeleteRow(m_list, m_currentRow);
  RenumberRows(m_currentRow);
}

void EngineSettingsDlg::OnRestoreDefaults() {
  m_catalogue.RestoreDefaults();
  for (size_t k = 0; k < kDefaultEngines.size(); ++k) {
    InsertRow(static_cast<int>(k), m_catalogue.Entries()[k], kInsertedRowImage);
  }
  RenumberRows(0);
}

void EngineSettingsDlg::OnUp() {
  int mark = ListViewSelectionMark(m_list);
  if (mark <= 0 || static_cast<size_t>(mark) >= m_catalogue.Count()) return;
  m_catalogue.MoveUp(static_cast<size_t>(mark));
  MoveRow(mark, mark - 1);
}

void EngineSettingsDlg::OnDown() {
  int mark = ListViewSelectionMark(m_list);
  if (mark < 0 || static_cast<size_t>(mark) + 1 >= m_catalogue.Count()) return;
  m_catalogue.MoveDown(static_cast<size_t>(mark));
  MoveRow(mark, mark + 1);
}

void EngineSettingsDlg::MoveRow(int from, int to) {
  ListViewDeleteRow(m_list, from);
  InsertRow(to, m_catalogue.Entries()[static_cast<size_t>(to)], kInsertedRowImage);
  ListViewSetText(m_list, from, kOrderColumn, FormatInt(from));  // the row it passed
  ListViewSetSelectionMark(m_list, to);
}

// A copy of the catalogue goes with the writes: the bar may need them after
// the dialog has gone.
void EngineSettingsDlg::OnOK() {
  m_saved.writes = [catalogue = m_catalogue](const SettingsFile& file) { catalogue.Save(file); };
  m_saved.result = SaveWholeFile(m_settingsPath, m_saved.writes, WriteMode::kReplace);
  Dialog::OnOK();
}
