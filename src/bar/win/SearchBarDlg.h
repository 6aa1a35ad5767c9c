// The search bar: the program's only main window, a borderless topmost tool
// window made from template 102 and run modally for the program's whole life.
//
// Its code is spread over files by concern:
//   SearchBarDlg.cpp         initialisation, keyboard, drag, search, history, save
//   SearchBarMenus.cpp       the engine, keyword and site menus
//   SearchBarDesktop.cpp     docking, notification icon, hotkey, background
//   SearchBarCommands.cpp    the settings dialogs and the About box
//   SearchBarDpi.cpp         the icons at the monitor's density, a change of density
//   SearchBarSuggest.cpp     suggestions while typing, in the query box's list
//   SearchBarSave.cpp        what is kept, saved soon after a change and at the end
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <functional>
#include <string>
#include <vector>
#include <string_view>

#include "settings/BarOptions.h"
#include "bar/MenuContents.h"
#include "bar/win/QueryBox.h"
#include "bar/win/TextDropTarget.h"
#include "desktop/Background.h"
#include "desktop/Docking.h"
#include "desktop/win/TrayIcon.h"
#include "desktop/win/WindowDockingHost.h"
#include "framework/win/Dialog.h"
#include "framework/win/Handle.h"
#include "search/QueryHistory.h"
#include "settings/SaveSchedule.h"
#include "settings/SettingsFile.h"
#include "suggest/SuggestRequest.h"
#include "suggest/win/SuggestWorker.h"
#include "settings/win/WholeFileSave.h"

class SearchBarDlg : public Dialog {
 public:
  // `settingsPath`: Quarrow.ini, which the bar and its dialogs read and save.
  explicit SearchBarDlg(std::string settingsPath);
  ~SearchBarDlg() override;

  // The search action (the Search button, and Enter, the template's default
  // button): composes the URL from the query box, the current engine and the
  // switches, hands it to the browser and records the query.
  void RunSearch();
  // Replaces the query box's text (a dropped text).
  void SetQueryText(std::string_view text);
  // Searches `text` as if it had been typed and Entered, once the bar is up
  // (a search from the command line).
  void SearchSoon(std::string text);

 private:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;
  bool PreTranslateMessage(MSG& message) override;
  void OnDestroy() override;

  // ---- The bar itself.
  Result OnLeftButtonDown(LPARAM point);
  Result OnClose();
  Result OnEndSession(WPARAM ending);
  void OnExit();
  void OnKeywordSwitch();
  void OnTimer(UINT_PTR id);
  void ListHistory();
  void RecordQuery(const std::string& query);
  Result OnCopyData(const COPYDATASTRUCT* data);
  void RunSearchesAsked();
  // The Search button names the engine the query's shortcut aims at, or the
  // current engine.
  void ShowSearchCaption(std::string_view queryText);
  void ShowSearchCaptionOfSelection();

  // ---- Selection menus (SearchBarMenus.cpp).
  // What tells the engine, keyword and site menus apart.
  struct MenuParts {
    MenuHandle& menu;
    std::vector<std::string>& entries;  // the menu's texts, at most ten
    int buttonId;        // shows the chosen entry
    UINT firstCommand;   // entry i sends firstCommand + i
    UINT editCommand;    // "增加", after a separator
  };
  MenuParts EngineMenuParts();
  MenuParts KeywordMenuParts();
  MenuParts SiteMenuParts();
  void BuildSelectionMenus(const SelectionMenus& menus);
  void RebuildEngineMenu();
  void RebuildKeywordAndSiteMenus();
  void FillSelectionMenu(const MenuParts& parts, const TextMenu& menu);
  // False when the menu has no entry for the command.
  bool ShowChoice(const MenuParts& parts, UINT command);
  void FillEngineMenu(const EngineMenu& menu);
  void ChooseEngine(UINT command);
  void SetEngineIcon(int position);
  void DropMenuBelow(HWND button, HMENU menu);

  // ---- Desktop presence (SearchBarDesktop.cpp).
  void BindDesktopMessages();
  void BindDockingMessages();
  void BindPresenceMessages();
  void BindBackgroundMessages();
  void MeasureDesktop();
  void StartDesktopPresence();
  void StopDesktopPresence();
  void LoadBackgroundPicture();
  void ReloadBackgroundPicture();
  void ShowBar();
  void HideBar();
  void OnHotkey();
  Result OnTrayNotify(LPARAM mouseMessage);
  Result OnRightButtonDown();
  void TrackPopup(HMENU popup);
  BackgroundKind Background() const;
  HBRUSH PictureBrush(HDC dc);
  Result OnEraseBackground(HDC dc);
  Result OnControlColor(UINT message, HDC dc, HWND control);
  Result OnPaint();

  // ---- Dialogs (SearchBarCommands.cpp).
  void BindDialogCommands();

  // ---- Suggestions (SearchBarSuggest.cpp).
  void BindSuggestMessages();
  void OnQueryEdited();
  void AskForSuggestions();
  void OnSuggestAnswer(std::unique_ptr<SuggestAnswer> answer);
  // Back to the whole history; an answer on its way is dropped.
  void ForgetSuggestions();
  // Switched off: no more requests, and the worker goes (with it, WinHTTP).
  void StopSuggesting();
  void ShowDropList(DropList list);
  // The history position of the list's item `item`; none for a suggestion.
  std::optional<size_t> HistoryPositionOf(size_t item) const;
  void OnTypingPaused();
  // ---- What is kept (SearchBarSave.cpp).
  // The history or the options changed: saved within a second or two.
  void StateChanged();
  void OnSaveTimer();
  // Exit, close or log-off: saved now, tried again while the user asks.
  void SaveAtEnd(SaveMoment moment);
  // The history and the options, after the dialogs' writes still owed.
  SaveResult SaveState(WriteMode mode);
  void FollowSaveStep(SaveSchedule::Step step, const SaveResult& result);
  // A dialog's save on OK; should it have failed, its writes join the bar's
  // next saves, and `refresh` shows what they hold once they are in the file.
  void TakeDialogSave(const TriedSave& saved, std::function<void()> refresh);
  void TellSaveFailed(const SaveResult& result);
  bool AskToRetrySave(const SaveResult& result);

  // ---- Screen density (SearchBarDpi.cpp).
  void BindDpiMessages();
  void LoadAppIcons();
  HICON AppIcon();
  Result OnDpiChanged(WPARAM dpis, LPARAM suggested);

  // The query box and the switches, exchanged with the controls.
  std::string m_queryText;
  bool m_siteOn = false;
  bool m_keywordOn = false;

  std::string m_settingsPath;  // Quarrow.ini, read and saved whole
  QueryHistory m_history;
  QueryBox m_queryList;  // the query box, its list filled from m_history when first needed

  HWND m_queryBox = nullptr;
  HWND m_engineButton = nullptr;
  HWND m_keywordButton = nullptr;
  HWND m_siteButton = nullptr;

  // Selection menus and their entries: the first ten of each list.
  MenuHandle m_engineMenu;
  MenuHandle m_siteMenu;
  MenuHandle m_keywordMenu;
  std::vector<EngineEntry> m_engines;  // the whole catalogue, for the shortcuts
  std::vector<std::string> m_engineNames;
  std::vector<std::string> m_sites;
  std::vector<std::string> m_keywords;
  std::string m_currentEngineName;
  std::string m_currentSearchCode;
  std::string m_currentSuggestUrl;
  std::deque<std::string> m_searchesAsked;  // from the command line, run in turn

  // Options read at start; the options dialog changes them in memory.
  BarOptions m_options;

  // What is kept: when to save it, and dialogs' writes that did not reach
  // the file yet, in the order they were made.
  // The bar's timers; the docking engine's are 1 and 2.
  static constexpr UINT_PTR kSuggestPauseTimer = 3;
  static constexpr UINT_PTR kSaveTimer = 10;
  SaveSchedule m_saveSchedule;
  struct OwedWrites {
    SettingsWrites writes;
    std::function<void()> refresh;
  };
  std::vector<OwedWrites> m_owedWrites;

  // Desktop presence.
  MenuHandle m_popupMenus;  // menu 135: "FormPop" and "TrayPop"
  // The density of the bar's monitor: the icons are loaded at its sizes.
  UINT m_dpi = 96;  // set in OnInitDialog, once the window has a monitor
  IconHandle m_appIcon;       // standard size: dragging, the minimised bar; loaded when first needed
  IconHandle m_trayAppIcon;   // small size of the taskbar's monitor
  // Icon 300 + i of each engine position, loaded when first shown; IDC_ENGINE_BUTTON
  // shows one of them and does not own it.
  std::array<IconHandle, kMenuEntryCount> m_engineIcons;
  int m_engineIconPosition = 0;
  bool m_barShown = false;
  WORD m_pictureId = 0;  // the background picture's bitmap; 0: none
  BrushHandle m_colorBrush;
  HBRUSH m_hollowBrush = nullptr;  // stock object, not owned
  BrushHandle m_pictureBrush;       // the picture stretched to the client area
  WindowDockingHost m_dockingHost;
  DockingEngine m_docking{m_dockingHost};
  TrayIcon m_trayIcon;  // removed from the notification area with the bar object

  TextDropTarget m_dropTarget;
  bool m_dropTargetRegistered = false;

  // Suggestions: the worker comes with the first request; each request has a
  // new generation, and an answer of another one is dropped on arrival.
  std::unique_ptr<SuggestWorker> m_suggestWorker;
  unsigned m_suggestGeneration = 0;
  std::string m_suggestAskedFor;          // the query box's text when the request went
  std::vector<std::string> m_suggestions;  // shown in the list below the history's matches
  DropList m_dropList;                    // what the list shows while it shows suggestions
  std::string m_dropTyped;                // the typed text the list's history entries begin with
};
