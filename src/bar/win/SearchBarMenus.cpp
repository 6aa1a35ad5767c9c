// The engine, keyword and site menus: the first entries of each list, at most
// ten, a separator and "增加"; the chosen entry carries the radio mark and is
// the default item, and its text is on the menu's button.
#include "bar/win/SearchBarDlg.h"

#include "base/Texts.h"
#include "framework/win/DataExchange.h"
#include "framework/win/Dpi.h"
#include "framework/win/WideText.h"
#include "resource.h"
#include "settings/win/ReadSettings.h"

namespace {

void MarkChoice(HMENU menu, int position, size_t entries) {
  CheckMenuRadioItem(menu, 0, static_cast<UINT>(entries) - 1, position, MF_BYPOSITION);
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

// The entries, a separator and "增加"; entry 0 chosen. Without entries the
// button shows what the file reads at position 0.
void SearchBarDlg::FillSelectionMenu(const MenuParts& parts, const TextMenu& menu) {
  parts.entries = menu.entries;
  HMENU popup = parts.menu.Get();
  for (size_t i = 0; i < parts.entries.size(); ++i) {
    AppendMenuW(popup, MF_STRING, parts.firstCommand + i, Wide(parts.entries[i]).c_str());
  }
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup, MF_STRING, parts.editCommand, Wide(kMenuEditItem).c_str());
  if (!ShowChoice(parts, parts.firstCommand)) SetText(Item(parts.buttonId), menu.whenEmpty);
}

// The chosen entry's text goes on the menu's button.
bool SearchBarDlg::ShowChoice(const MenuParts& parts, UINT command) {
  const size_t i = command - parts.firstCommand;
  if (i >= parts.entries.size()) return false;
  SetText(Item(parts.buttonId), parts.entries[i]);
  MarkChoice(parts.menu.Get(), static_cast<int>(i), parts.entries.size());
  return true;
}

void SearchBarDlg::FillEngineMenu(const EngineMenu& menu) {
  m_engines = menu.engines;
  TextMenu names;
  names.whenEmpty = menu.whenEmpty.name;
  for (size_t i = 0; i < MenuEntriesOf(m_engines.size()); ++i) names.entries.push_back(m_engines[i].name);
  FillSelectionMenu(EngineMenuParts(), names);
  const EngineEntry& first = m_engines.empty() ? menu.whenEmpty : m_engines.front();
  m_currentEngineName = first.name;
  m_currentSearchCode = first.searchCode;
  m_currentSuggestUrl = first.suggestUrl;
  ShowSearchCaption(WindowText(m_queryBox));
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
  if (!ShowChoice(EngineMenuParts(), command)) return;
  const size_t i = command - ID_ENGINE_FIRST;
  m_currentEngineName = m_engines[i].name;
  m_currentSearchCode = m_engines[i].searchCode;
  m_currentSuggestUrl = m_engines[i].suggestUrl;
  SetEngineIcon(static_cast<int>(i));
  ShowSearchCaption(WindowText(m_queryBox));
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
