// Suggestions while typing (when the options switch them on): a pause in
// typing asks the engine's suggestion address on the worker's thread, and its
// answer fills the query box's own list, below the history entries that
// begin with what is typed, so that the keyboard and screen readers work as
// they do for the history. The input thread never waits on the network.
#include "bar/win/SearchBarDlg.h"

#include "framework/win/DataExchange.h"
#include "search/SearchUrl.h"
#include "settings/win/SystemGbk.h"

namespace {

// Posted by the worker with its answer.
constexpr UINT kSuggestAnswered = WM_APP + 4;

}  // namespace

void SearchBarDlg::BindSuggestMessages() {
  OnMessage(kSuggestAnswered, [this](WPARAM, LPARAM answer) {
    OnSuggestAnswer(std::unique_ptr<SuggestAnswer>(reinterpret_cast<SuggestAnswer*>(answer)));
    return Handled(0);
  });
}

void SearchBarDlg::OnTypingPaused() {
  KillTimer(Hwnd(), kSuggestPauseTimer);
  AskForSuggestions();
}

// Every change typed names the engine at once; suggestions wait for a pause.
void SearchBarDlg::OnQueryEdited() {
  ShowSearchCaption(WindowText(m_queryBox));
  if (m_options.suggest != 1) return;
  SetTimer(Hwnd(), kSuggestPauseTimer, kSuggestPauseMs, nullptr);
}

void SearchBarDlg::AskForSuggestions() {
  const std::string text = WindowText(m_queryBox);
  std::optional<SuggestAsk> ask = WhatToAsk(text, m_engines, m_currentSuggestUrl, SystemGbk());
  if (!ask || m_options.suggest != 1) return ForgetSuggestions();
  if (!m_suggestWorker) m_suggestWorker = std::make_unique<SuggestWorker>(Hwnd(), kSuggestAnswered);
  m_suggestAskedFor = text;
  m_suggestWorker->Ask(++m_suggestGeneration, ask->url);
}

// An answer to older text, or one that came after the search, is dropped.
void SearchBarDlg::OnSuggestAnswer(std::unique_ptr<SuggestAnswer> answer) {
  if (!answer || answer->generation != m_suggestGeneration) return;
  const std::string text = WindowText(m_queryBox);
  if (text != m_suggestAskedFor) return;
  m_suggestions = std::move(answer->suggestions);
  m_dropTyped = std::string(QueryAsSearched(text));
  ShowDropList(ComposeDropList(m_history.Entries(), m_dropTyped, m_suggestions));
  if (m_suggestions.empty() || !IsChild(m_queryBox, GetFocus())) return;
  // Opened afresh, so that the list takes the height of its new items, and
  // with nothing chosen in it: opening chooses the first item that begins
  // with the text, and the first Down would pass it by.
  SendMessageW(m_queryBox, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageW(m_queryBox, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof parts;
  if (GetComboBoxInfo(m_queryBox, &parts)) SendMessageW(parts.hwndList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  if (WindowText(m_queryBox) != text) SetText(m_queryBox, text);
}

void SearchBarDlg::ForgetSuggestions() {
  ++m_suggestGeneration;
  if (m_suggestions.empty()) return;
  m_suggestions.clear();
  ShowDropList(ComposeDropList(m_history.Entries(), "", {}));
}

void SearchBarDlg::StopSuggesting() {
  KillTimer(Hwnd(), kSuggestPauseTimer);
  ForgetSuggestions();
  m_suggestWorker.reset();
}

// The list's items replaced without CB_RESETCONTENT, which would also empty
// the text being typed; the text and its selection stay as they are.
void SearchBarDlg::ShowDropList(DropList list) {
  m_queryList.Fill();
  DWORD start = 0, end = 0;
  SendMessageW(m_queryBox, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::string text = WindowText(m_queryBox);
  SendMessageW(m_queryBox, WM_SETREDRAW, FALSE, 0);
  for (LRESULT count = SendMessageW(m_queryBox, CB_GETCOUNT, 0, 0); count > 0; --count) {
    SendMessageW(m_queryBox, CB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
  }
  for (const std::string& item : list.items) SendText(m_queryBox, CB_ADDSTRING, 0, item);
  SendMessageW(m_queryBox, WM_SETREDRAW, TRUE, 0);
  if (WindowText(m_queryBox) != text) SetText(m_queryBox, text);
  SendMessageW(m_queryBox, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
  m_dropList = std::move(list);
}

std::optional<size_t> SearchBarDlg::HistoryPositionOf(size_t item) const {
  if (m_suggestions.empty()) return item < m_history.Count() ? std::optional<size_t>(item) : std::nullopt;
  if (item >= m_dropList.historyItems) return std::nullopt;
  return m_dropList.historyPositions[item];
}
