// The engine, keyword and site menus: ten entries read from the settings
// file, a separator and "增加"; the chosen entry carries the radio mark and is
// the default item, and its text is on the menu's button.
#include "bar/win/SearchBarDlg.h"

#include "base/Texts.h"
#include "framework/win/DataExchange.h"
#include "framework/win/Dpi.h"
#include "framework/win/WideText.h"
#include "resource.h"
#include "settings/win/ReadSettings.h"
#include "settings/win/SettingsPath.h"
#include "settings/win/WholeFileSave.h"

namespace {

void MarkChoice(HMENU menu, int position) {
  CheckMenuRadioItem(menu, 0, kMenuEntryCount - 1, position, MF_BYPOSITION);
  SetMenuDefaultItem(menu, position, TRUE);
}

}  // namespace

SearchBarDlg::MenuParts SearchBarDlg::EngineMenuParts() {
  return {m_engineMenu, m_engineNames, IDC_SEARCH, ID_ENGINE_FIRST, ID_EDIT_ENGINES};
}

SearchBarDlg::MenuParts SearchBarDlg::KeywordMenuParts() {
  return {m_keywordMenu, m_keywords, IDC_KEYWORD_BUTTON, ID_KEYWORD_FIRST, ID_EDIT_KEYWORDS_SITES};
}

SearchBarDlg::MenuParts SearchBarDlg::SiteMenuParts() {
  return {m_siteMenu, m_sites, IDC_SITE_BUTTON, ID_SITE_FIRST, ID_EDIT_KEYWORDS_SITES};
}

void SearchBarDlg::BuildSelectionMenus(const SelectionMenus& menus) {
  FillEngineMenu(menus.engines);
  FillSelectionMenu(SiteMenuParts(), menus.sites);
  FillSelectionMenu(KeywordMenuParts(), menus.keywords);
  UpdateData(true);
}

// The entries, a separator and "增加"; entry 0 chosen.
void SearchBarDlg::FillSelectionMenu(const MenuParts& parts, const MenuTexts& entries) {
  parts.entries = entries;
  HMENU menu = parts.menu.Get();
  for (int i = 0; i < kMenuEntryCount; ++i) {
    AppendMenuW(menu, MF_STRING, parts.firstCommand + i, Wide(parts.entries[i]).c_str());
  }
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, parts.editCommand, Wide(kMenuEditItem).c_str());
  ShowChoice(parts, parts.firstCommand);
}

// The chosen entry's text goes on the menu's button.
void SearchBarDlg::ShowChoice(const MenuParts& parts, UINT command) {
  int i = static_cast<int>(command - parts.firstCommand);
  SetText(Item(parts.buttonId), parts.entries[i]);
  MarkChoice(parts.menu.Get(), i);
}

void SearchBarDlg::FillEngineMenu(const EngineMenuContents& engines) {
  m_engineCodes = engines.codes;
  FillSelectionMenu(EngineMenuParts(), engines.names);
  m_currentSearchCode = m_engineCodes[0];
}

void SearchBarDlg::RebuildEngineMenu() {
  m_engineMenu.Reset(CreatePopupMenu());
  FillEngineMenu(ReadEngineMenu(ReadSettingsSnapshot(m_settingsPath).File()));
  SetEngineIcon(0);
  UpdateData(true);
}

void SearchBarDlg::RebuildKeywordAndSiteMenus() {
  m_siteMenu.Reset(CreatePopupMenu());
  m_keywordMenu.Reset(CreatePopupMenu());
  SettingsSnapshot snapshot = ReadSettingsSnapshot(m_settingsPath);
  FillSelectionMenu(SiteMenuParts(), ReadSiteMenu(snapshot.File()));
  FillSelectionMenu(KeywordMenuParts(), ReadKeywordMenu(snapshot.File()));
  UpdateData(true);
}

void SearchBarDlg::ChooseEngine(UINT command) {
  ShowChoice(EngineMenuParts(), command);
  int i = static_cast<int>(command - ID_ENGINE_FIRST);
  m_currentSearchCode = m_engineCodes[i];
  SetEngineIcon(i);
}

// Icon 300 + i belongs to menu position i, whichever engine stands there. It
// is loaded at the small icon size of the bar's density, which fits the
// 16-unit button as the button grows with its font, and kept until the
// density changes.
void SearchBarDlg::SetEngineIcon(int position) {
  m_engineIconPosition = position;
  IconHandle& icon = m_engineIcons[static_cast<size_t>(position)];
  if (!icon) icon.Reset(dpi::LoadProgramIcon(IDI_ENGINE_FIRST + position, m_dpi, dpi::IconSize::Small));
  SendMessageW(m_engineButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
}

void SearchBarDlg::DropMenuBelow(HWND button, HMENU menu) {
  SetForegroundWindow(Hwnd());
  RECT rect{};
  GetWindowRect(button, &rect);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, rect.left, rect.bottom, 0,
                 Hwnd(), nullptr);
}
