// When the bar writes what it keeps (the history and the options, and a
// dialog's writes that did not reach the file) and what it does when a write
// fails. The window layer feeds it the events (a change, its timer, a save's
// result, the end of the program) and does what each answer says: arm the
// timer, save at once, tell the user, or ask at the end.
//
// Why these rules: a crash or a power cut must not cost the day's searches, so
// a change reaches the file within a second or two; a burst of changes (a
// string of searches) is one write, not one each. A virus scanner or a backup
// holds a file for a moment: a write refused as "in use" is tried again a few
// times before the last try writes in place. What still fails stays in memory
// for the next change or the end, and the user hears of it once, not at every
// try, until a save succeeds again.
#pragma once

#include "settings/SaveResult.h"

enum class SaveMoment {
  kRunning,     // saves come from the timer
  kEnding,      // exit or close: the user may be asked whether to try again
  kLoggingOff,  // the session ends: try, never ask
};

class SaveSchedule {
 public:
  // A change waits this long for the ones that follow it.
  static constexpr int kSettleMs = 1000;
  // Between tries at a file that is held; the last of kHeldTries may write in place.
  static constexpr int kRetryMs = 500;
  static constexpr int kHeldTries = 5;

  enum class Next {
    kNothing,  // until the next change (at the end: done)
    kSaveIn,   // save again after `ms`: the timer while running, a wait at the end
    kTell,     // running: every try failed; tell the user, once
    kAsk,      // ending: every try failed; ask whether to try again
  };
  struct Step {
    Next next = Next::kNothing;
    int ms = 0;
    friend bool operator==(const Step&, const Step&) = default;
  };

  // Something kept has changed.
  Step Changed();
  // The timer fired: whether to save now.
  bool TimerFired();
  // The program ends. The end always saves, changed or not (as it always
  // did: a file edited by hand meanwhile gets the run's history back).
  void Ending(SaveMoment moment);
  // How far the next save may go.
  WriteMode Mode() const;
  // What a save gave, the bar's own or a dialog's.
  Step Saved(const SaveResult& result);
  // At the end, after a failure: the user asked for another try.
  void RetryAsked() { m_heldTries = 0; }

  // Something kept is not on disk yet.
  bool Dirty() const { return m_dirty; }
  bool TimerArmed() const { return m_timerArmed; }

 private:
  Step GiveUp();

  SaveMoment m_moment = SaveMoment::kRunning;
  bool m_dirty = false;
  bool m_timerArmed = false;
  int m_heldTries = 0;  // failed tries at a held file in a row
  bool m_told = false;  // the user knows of the failure (since the last save that worked)
};
