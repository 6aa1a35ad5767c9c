#include "bar/win/SearchBarDlg.h"

#include <windowsx.h>

#include "framework/win/Dpi.h"
#include "resource.h"
#include "bar/BarSettings.h"
#include "bar/win/SingleBar.h"
#include "bar/win/StartupClock.h"
#include "framework/win/WideText.h"
#include "search/AimedQuery.h"
#include "search/SearchUrl.h"
#include "search/win/Browser.h"
#include "settings/win/ReadSettings.h"
#include "settings/win/StarterFile.h"
#include "settings/win/SystemGbk.h"

namespace {

// A key, a press or the wheel: what can move the query box's selection or
// drop its list.
bool IsInputThatMayReachTheList(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_LBUTTONDOWN ||
         message == WM_MOUSEWHEEL;
}

// Posted to the bar when a search was asked for from outside, and when the
// query box's text was set other than by typing.
constexpr UINT kRunSearchesAsked = WM_APP + 2;
constexpr UINT kQueryTextSet = WM_APP + 3;

}  // namespace

SearchBarDlg::SearchBarDlg(std::string settingsPath)
    : Dialog(IDD_SEARCHBAR),
      m_settingsPath(std::move(settingsPath)),
      m_queryList([this] { ListHistory(); }, kQueryTextSet),
      m_dropTarget(
          [this](const std::string& text) {
            SetQueryText(text);
            RunSearch();
          },
          [this] { return IsWindowEnabled(Hwnd()) != FALSE; }) {
  OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM point) { return OnLeftButtonDown(point); });
  OnMessage(WM_CLOSE, [this](WPARAM, LPARAM) { return OnClose(); });
  OnMessage(WM_ENDSESSION, [this](WPARAM ending, LPARAM) { return OnEndSession(ending); });
  OnMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM) {
    return Handled(reinterpret_cast<LRESULT>(AppIcon()));
  });
  // Search is the template's default button: Enter in the query box runs it too.
  OnCommand(IDC_SEARCH, [this] { RunSearch(); });
  OnCommand(IDC_KEYWORD_SWITCH, [this] { OnKeywordSwitch(); });
  OnCommand(IDC_ENGINE_BUTTON, [this] { DropMenuBelow(m_engineButton, m_engineMenu.Get()); });
  OnCommand(IDC_KEYWORD_BUTTON, [this] { DropMenuBelow(m_keywordButton, m_keywordMenu.Get()); });
  OnCommand(IDC_SITE_BUTTON, [this] { DropMenuBelow(m_siteButton, m_siteMenu.Get()); });
  OnCommandRange(ID_ENGINE_FIRST, ID_ENGINE_FIRST + kMenuEntryCount - 1,
                 [this](UINT id) { ChooseEngine(id); });
  OnCommandRange(ID_KEYWORD_FIRST, ID_KEYWORD_FIRST + kMenuEntryCount - 1,
                 [this](UINT id) { ShowChoice(KeywordMenuParts(), id); });
  OnCommandRange(ID_SITE_FIRST, ID_SITE_FIRST + kMenuEntryCount - 1,
                 [this](UINT id) { ShowChoice(SiteMenuParts(), id); });
  // A shortcut typed or picked from the history names its engine at once.
  OnControl(IDC_QUERY, CBN_EDITCHANGE, [this] { OnQueryEdited(); });
  OnControl(IDC_QUERY, CBN_SELCHANGE, [this] { ShowSearchCaptionOfSelection(); });
  OnMessage(WM_COPYDATA, [this](WPARAM, LPARAM data) {
    return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(data));
  });
  OnMessage(kQueryTextSet, [this](WPARAM, LPARAM) {
    ShowSearchCaption(WindowText(m_queryBox));
    return Handled(0);
  });
  OnMessage(WM_TIMER, [this](WPARAM id, LPARAM) {
    OnTimer(id);
    return kNotHandled;
  });
  OnMessage(kRunSearchesAsked, [this](WPARAM, LPARAM) {
    RunSearchesAsked();
    return Handled(0);
  });
  OnCommand(ID_SHOW_BAR, [this] { ShowBar(); });
  OnCommand(ID_HIDE_BAR, [this] { HideBar(); });
  OnCommand(ID_APP_EXIT, [this] { OnExit(); });
  BindDesktopMessages();
  BindDialogCommands();
  BindDpiMessages();
  BindSuggestMessages();
}

SearchBarDlg::~SearchBarDlg() = default;

BOOL SearchBarDlg::OnInitDialog() {
  MarkStartup("the dialog's controls made");
  // The window exists now: measure the taskbar and the system sizes first.
  m_dpi = dpi::WindowDpi(Hwnd());
  LoadAppIcons();
  MeasureDesktop();
  Dialog::OnInitDialog();
  MarkStartup("icons at the window's density, sizes, controls bound");

  // A topmost tool window: no taskbar button, above normal windows.
  LONG exStyle = GetWindowLongW(Hwnd(), GWL_EXSTYLE);
  exStyle &= ~(WS_EX_APPWINDOW | WS_EX_TOPMOST);
  exStyle |= WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_TOPMOST;
  SetWindowLongW(Hwnd(), GWL_EXSTYLE, exStyle);
  SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  MarkStartup("topmost tool window");

  HINSTANCE instance = GetModuleHandleW(nullptr);
  m_popupMenus.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_POPUPS)));
  m_engineMenu.Reset(CreatePopupMenu());
  m_siteMenu.Reset(CreatePopupMenu());
  m_keywordMenu.Reset(CreatePopupMenu());
  MarkStartup("menus made");
  // A first start writes the starter file, so that the menus show the
  // built-in engines; one reading of the file then gives everything the bar
  // starts with.
  WriteStarterFileWhereNone(m_settingsPath);
  BarSettings settings = ReadBarSettings(ReadSettingsSnapshot(m_settingsPath).File());
  MarkStartup("settings file read");
  m_options = settings.options;
  BuildSelectionMenus(settings.menus);
  MarkStartup("menus filled, engine chosen");

  m_hollowBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  LoadBackgroundPicture();
  MarkStartup("background picture loaded");

  // Without OLE the registration fails and dropping is refused; all else works.
  m_dropTargetRegistered = SUCCEEDED(RegisterDragDrop(Hwnd(), &m_dropTarget));
  MarkStartup("drop target registered");
  SetEngineIcon(0);
  MarkStartup("engine icon");
  StartDesktopPresence();  // notification icon and hotkey
  MarkStartup("notification icon, hotkey");
  // The list shows the history only when first looked at: nothing of it is
  // in the first frame.
  m_history = std::move(settings.history);
  m_queryList.Subclass(m_queryBox);
  m_barShown = true;
  if (!m_searchesAsked.empty()) PostMessageW(Hwnd(), kRunSearchesAsked, 0, 0);
  return TRUE;
}

void SearchBarDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Control(IDC_ENGINE_BUTTON, m_engineButton);
  exchange.Control(IDC_KEYWORD_BUTTON, m_keywordButton);
  exchange.Control(IDC_SITE_BUTTON, m_siteButton);
  exchange.Control(IDC_QUERY, m_queryBox);
  exchange.Check(IDC_SITE_SWITCH, m_siteOn);
  exchange.Text(IDC_QUERY, m_queryText);
  exchange.Check(IDC_KEYWORD_SWITCH, m_keywordOn);
}

// Every key pressed in the bar passes here before the dialog keys: Escape
// hides the bar (so it never closes it), Ctrl+A selects the query, and Delete
// on a selected history entry removes it and then does its usual work.
bool SearchBarDlg::PreTranslateMessage(MSG& message) {
  if (IsInputThatMayReachTheList(message.message)) m_queryList.Fill();
  if (message.message != WM_KEYDOWN) return false;
  switch (message.wParam) {
    case VK_ESCAPE:
      HideBar();
      return true;
    case 'A':
      if (GetKeyState(VK_CONTROL) >= 0) return false;
      SendMessageW(m_queryBox, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
      return true;
    case VK_DELETE: {
      const LRESULT selected = SendMessageW(m_queryBox, CB_GETCURSEL, 0, 0);
      if (selected == CB_ERR) return false;
      // A suggestion in the list is no history entry: Delete only edits the text.
      if (std::optional<size_t> position = HistoryPositionOf(static_cast<size_t>(selected))) {
        m_history.RemoveAt(*position);
        SendMessageW(m_queryBox, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
        if (!m_suggestions.empty()) ShowDropList(ComposeDropList(m_history.Entries(), m_dropTyped, m_suggestions));
        StateChanged();
      }
      return false;
    }
    case VK_RETURN:
      // With the list open the combo box would take Enter only to close it:
      // the chosen entry is searched at once, as with the list closed.
      if (!SendMessageW(m_queryBox, CB_GETDROPPEDSTATE, 0, 0)) return false;
      SendMessageW(m_queryBox, CB_SHOWDROPDOWN, FALSE, 0);
      RunSearch();
      return true;
    default:
      return false;
  }
}

void SearchBarDlg::OnDestroy() {
  if (m_dropTargetRegistered) RevokeDragDrop(Hwnd());
  m_dropTargetRegistered = false;
  StopDesktopPresence();  // the hotkey goes with the window that registered it
}

// A press on the bar's own surface moves the whole bar, as if its caption
// had been grabbed. The message carries the point in screen coordinates, as
// it expects: Windows' move loop reads the cursor itself, Wine's starts from
// the point it is given.
Dialog::Result SearchBarDlg::OnLeftButtonDown(LPARAM point) {
  SetFocus(m_queryBox);
  POINT grab{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  ClientToScreen(Hwnd(), &grab);
  PostMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(grab.x, grab.y));
  return kNotHandled;
}

Dialog::Result SearchBarDlg::OnClose() {
  SaveAtEnd(SaveMoment::kEnding);
  return kNotHandled;  // the dialog's own close handling ends the bar as a cancel
}

// Logging off ends the process without a close request: save as at exit,
// but ask nothing, the session is going.
Dialog::Result SearchBarDlg::OnEndSession(WPARAM ending) {
  if (ending) SaveAtEnd(SaveMoment::kLoggingOff);
  return Handled(0);
}

void SearchBarDlg::OnExit() {
  SaveAtEnd(SaveMoment::kEnding);
  PostQuitMessage(0);
}

void SearchBarDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case kSaveTimer:
      return OnSaveTimer();
    case kSuggestPauseTimer:
      return OnTypingPaused();
    default:
      return m_docking.OnTimer(static_cast<unsigned>(id));
  }
}

// The switch and the query box's text are taken at once: a hide by hotkey
// puts back what was taken here.
void SearchBarDlg::OnKeywordSwitch() { UpdateData(true); }

// The site and the keyword are read from their buttons only when their switch
// is on; nothing of a search is kept for the next one.
void SearchBarDlg::RunSearch() {
  UpdateData(true);
  std::string query(QueryAsSearched(m_queryText));
  std::string site = m_siteOn ? WindowText(m_siteButton) : std::string();
  std::string keyword = m_keywordOn ? WindowText(m_keywordButton) : std::string();
  std::string url = ComposeAimedSearchUrl(query, m_engines, m_currentSearchCode, m_siteOn, site, m_keywordOn,
                                          keyword, SystemGbk());
  OpenInBrowser(url, m_options.useIE != 0);
  if (!query.empty()) RecordQuery(query);
}

void SearchBarDlg::SetQueryText(std::string_view text) {
  SetText(m_queryBox, text);
  ShowSearchCaption(text);  // at once, for the search that follows a drop
}

void SearchBarDlg::SearchSoon(std::string text) {
  m_searchesAsked.push_back(std::move(text));
  if (Hwnd()) PostMessageW(Hwnd(), kRunSearchesAsked, 0, 0);  // else at the end of the initialisation
}

// Another start of Quarrow on this settings file hands its command line's
// search or exit here (SingleBar).
Dialog::Result SearchBarDlg::OnCopyData(const COPYDATASTRUCT* data) {
  if (!data) return Handled(FALSE);
  switch (data->dwData) {
    case SingleBar::kSearchRequest:
      SearchSoon(std::string(static_cast<const char*>(data->lpData), data->cbData));
      return Handled(TRUE);
    case SingleBar::kExitRequest:
      PostMessageW(Hwnd(), WM_COMMAND, ID_APP_EXIT, 0);
      return Handled(TRUE);
    default:
      return Handled(FALSE);
  }
}

void SearchBarDlg::RunSearchesAsked() {
  while (!m_searchesAsked.empty()) {
    std::string text = std::move(m_searchesAsked.front());
    m_searchesAsked.pop_front();
    SetQueryText(text);
    RunSearch();
  }
}

void SearchBarDlg::ShowSearchCaption(std::string_view queryText) {
  const AimedQuery aim = AimQuery(QueryAsSearched(queryText), m_engines);
  const std::string& caption = aim.Aimed() ? m_engines[aim.engine].name : m_currentEngineName;
  HWND button = Item(IDC_SEARCH);
  if (WindowText(button) != caption) SetText(button, caption);
}

// The list's selection changes before the query box's text does.
void SearchBarDlg::ShowSearchCaptionOfSelection() {
  const LRESULT selected = SendMessageW(m_queryBox, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return;
  const LRESULT length = SendMessageW(m_queryBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
  if (length == CB_ERR) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(m_queryBox, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  ShowSearchCaption(Utf8(text));
}

// The query box's list, once filled, shows exactly the history, most recent
// first. Filled once, at the bar's first input or the first message to the
// list (m_queryList); empty until then, so no CB_RESETCONTENT, which would
// also empty the text being typed.
void SearchBarDlg::ListHistory() {
  // The list's memory in one allocation rather than one growth per entry.
  size_t bytes = 0;
  for (const std::string& entry : m_history.Entries()) bytes += (entry.size() + 1) * sizeof(wchar_t);
  SendMessageW(m_queryBox, CB_INITSTORAGE, m_history.Entries().size(), static_cast<LPARAM>(bytes));
  for (const std::string& entry : m_history.Entries()) SendText(m_queryBox, CB_ADDSTRING, 0, entry);
}

void SearchBarDlg::RecordQuery(const std::string& query) {
  std::optional<size_t> removed = m_history.Record(query);
  StateChanged();
  if (!m_suggestions.empty()) return ForgetSuggestions();  // the list shows the whole history again
  if (!m_queryList.Filled()) return;  // filled from the history when needed
  if (removed) SendMessageW(m_queryBox, CB_DELETESTRING, static_cast<WPARAM>(*removed), 0);
  SendText(m_queryBox, CB_INSERTSTRING, 0, query);
}
