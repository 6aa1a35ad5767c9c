// The engine, keyword and site menus: ten entries read from the settings
// file, a separator and "增加"; the chosen entry carries the radio mark and is
// the default item, and its text is on the menu's button.
#include "bar/win/SearchBarDlg.h"

#include "base/Texts.h"
#include "framework/win/Dpi.h"
#include "resource.h"
#include "settings/win/WholeFileSave.h"

namespace {

void FillMenu(HMENU menu, const std::array<std::string, kMenuEntryCount>& entries, UINT firstCommand,
              UINT editCommand) {
  for (int i = 0; i < kMenuEntryCount; ++i) {
    AppendMenuA(menu, MF_STRING, firstCommand + i, entries[i].c_str());
  }
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, editCommand, std::string(kMenuEditItem).c_str());
}

void MarkChoice(HMENU menu, int position) {
  CheckMenuRadioItem(menu, 0, kMenuEntryCount - 1, position, MF_BYPOSITION);
  SetMenuDefaultItem(menu, position, TRUE);
}

}  // namespace

void SearchBarDlg::BuildSelectionMenus(const SelectionMenus& menus) {
  FillEngineMenu(menus.engines);
  FillSiteMenu(menus.sites);
  FillKeywordMenu(menus.keywords);
  m_doubleClickRight = menus.options.doubleClickRight;
  m_useIE = menus.options.useIE;
  m_useImage = menus.options.useImage;
  m_imageNumber = menus.options.imageNumber;
  UpdateData(true);
}

void SearchBarDlg::FillEngineMenu(const EngineMenuContents& engines) {
  m_engineNames = engines.names;
  m_engineCodes = engines.codes;
  FillMenu(m_engineMenu.Get(), m_engineNames, ID_ENGINE_FIRST, ID_EDIT_ENGINES);
  MarkChoice(m_engineMenu.Get(), 0);
  SetDlgItemTextA(Hwnd(), IDC_SEARCH, m_engineNames[0].c_str());
  m_currentSearchCode = m_engineCodes[0];
}

void SearchBarDlg::FillSiteMenu(const MenuTexts& sites) {
  m_sites = sites;
  FillMenu(m_siteMenu.Get(), m_sites, ID_SITE_FIRST, ID_EDIT_KEYWORDS_SITES);
  MarkChoice(m_siteMenu.Get(), 0);
  SetDlgItemTextA(Hwnd(), IDC_SITE_BUTTON, m_sites[0].c_str());
}

void SearchBarDlg::FillKeywordMenu(const MenuTexts& keywords) {
  m_keywords = keywords;
  FillMenu(m_keywordMenu.Get(), m_keywords, ID_KEYWORD_FIRST, ID_EDIT_KEYWORDS_SITES);
  MarkChoice(m_keywordMenu.Get(), 0);
  SetDlgItemTextA(Hwnd(), IDC_KEYWORD_BUTTON, m_keywords[0].c_str());
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
  FillSiteMenu(ReadSiteMenu(snapshot.File()));
  FillKeywordMenu(ReadKeywordMenu(snapshot.File()));
  UpdateData(true);
}

void SearchBarDlg::ChooseEngine(UINT command) {
  int i = static_cast<int>(command - ID_ENGINE_FIRST);
  SetDlgItemTextA(Hwnd(), IDC_SEARCH, m_engineNames[i].c_str());
  MarkChoice(m_engineMenu.Get(), i);
  m_currentSearchCode = m_engineCodes[i];
  SetEngineIcon(i);
}

void SearchBarDlg::ChooseKeyword(UINT command) {
  int i = static_cast<int>(command - ID_KEYWORD_FIRST);
  SetDlgItemTextA(Hwnd(), IDC_KEYWORD_BUTTON, m_keywords[i].c_str());
  MarkChoice(m_keywordMenu.Get(), i);
}

void SearchBarDlg::ChooseSite(UINT command) {
  int i = static_cast<int>(command - ID_SITE_FIRST);
  SetDlgItemTextA(Hwnd(), IDC_SITE_BUTTON, m_sites[i].c_str());
  MarkChoice(m_siteMenu.Get(), i);
}

// Icon 300 + i belongs to menu position i, whichever engine stands there. It
// is loaded at the small icon size of the bar's density, which fits the
// 16-unit button as the button grows with its font, and kept until the
// density changes.
void SearchBarDlg::SetEngineIcon(int position) {
  m_engineIconPosition = position;
  IconHandle& icon = m_engineIcons[static_cast<size_t>(position)];
  if (!icon) icon.Reset(dpi::LoadProgramIcon(IDI_ENGINE_FIRST + position, m_dpi, dpi::IconSize::Small));
  SendMessageA(m_engineButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
}

void SearchBarDlg::DropMenuBelow(HWND button, HMENU menu) {
  SetForegroundWindow(Hwnd());
  RECT rect{};
  GetWindowRect(button, &rect);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, rect.left, rect.bottom, 0,
                 Hwnd(), nullptr);
}
