// What the bar keeps (the history and the options) reaches the settings file
// a second or so after it changes, and again at exit, close and log-off. The
// rules of when, of trying again and of telling the user are the core's
// (settings/SaveSchedule.h); here they meet the timer, the notification
// icon and the message box.
#include "bar/win/SearchBarDlg.h"

#include "base/Texts.h"
#include "framework/win/WideText.h"
#include "settings/SaveNotice.h"

void SearchBarDlg::StateChanged() { FollowSaveStep(m_saveSchedule.Changed(), {}); }

void SearchBarDlg::OnSaveTimer() {
  KillTimer(Hwnd(), kSaveTimer);  // each arming fires once
  if (!m_saveSchedule.TimerFired()) return;
  const SaveResult result = SaveState(m_saveSchedule.Mode());
  FollowSaveStep(m_saveSchedule.Saved(result), result);
}

// The bar is ending: a wait between tries holds up no one's input, and the
// process may be gone the moment this returns.
void SearchBarDlg::SaveAtEnd(SaveMoment moment) {
  KillTimer(Hwnd(), kSaveTimer);
  m_saveSchedule.Ending(moment);
  UpdateData(true);
  for (;;) {
    const SaveResult result = SaveState(m_saveSchedule.Mode());
    const SaveSchedule::Step step = m_saveSchedule.Saved(result);
    if (step.next == SaveSchedule::Next::kSaveIn) {
      Sleep(static_cast<DWORD>(step.ms));
      continue;
    }
    if (step.next != SaveSchedule::Next::kAsk || !AskToRetrySave(result)) return;
    m_saveSchedule.RetryAsked();
  }
}

SaveResult SearchBarDlg::SaveState(WriteMode mode) {
  const SaveResult result = SaveWholeFile(
      m_settingsPath,
      [this](const SettingsFile& file) {
        for (const OwedWrites& owed : m_owedWrites) owed.writes(file);
        m_history.Save(file);
        m_options.Save(file);
      },
      mode);
  if (result.Failed() || m_owedWrites.empty()) return result;
  // In the file now (or refused with it, read-only): what shows them is read
  // from the file again.
  std::vector<OwedWrites> written = std::move(m_owedWrites);
  m_owedWrites.clear();
  for (const OwedWrites& owed : written) owed.refresh();
  return result;
}

void SearchBarDlg::FollowSaveStep(SaveSchedule::Step step, const SaveResult& result) {
  switch (step.next) {
    case SaveSchedule::Next::kSaveIn:
      SetTimer(Hwnd(), kSaveTimer, static_cast<UINT>(step.ms), nullptr);
      break;
    case SaveSchedule::Next::kTell:
      TellSaveFailed(result);
      break;
    case SaveSchedule::Next::kNothing:
    case SaveSchedule::Next::kAsk:  // only at the end
      break;
  }
}

void SearchBarDlg::TakeDialogSave(const TriedSave& saved, std::function<void()> refresh) {
  if (!saved.result.Failed()) return;
  m_owedWrites.push_back({saved.writes, std::move(refresh)});
  FollowSaveStep(m_saveSchedule.Saved(saved.result), saved.result);
}

void SearchBarDlg::TellSaveFailed(const SaveResult& result) {
  m_trayIcon.ShowWarning(kSaveFailedTitle,
                         SaveFailureNote(m_settingsPath, result, SystemErrorText(result.systemError)));
}

// In front: the bar may be hidden or retracted when it is ended.
bool SearchBarDlg::AskToRetrySave(const SaveResult& result) {
  const std::string question = SaveFailureQuestion(m_settingsPath, result, SystemErrorText(result.systemError));
  return MessageBoxW(Hwnd(), Wide(question).c_str(), Wide(kSaveFailedTitle).c_str(),
                     MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND) == IDRETRY;
}
