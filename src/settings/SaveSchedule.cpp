#include "settings/SaveSchedule.h"

namespace {

// A replace of a file that another program holds is refused as "in use" or as
// "access denied": both may pass in a moment.
bool MayPass(SaveFault fault) { return fault == SaveFault::kInUse || fault == SaveFault::kAccessDenied; }

}  // namespace

SaveSchedule::Step SaveSchedule::Changed() {
  m_dirty = true;
  // Armed at the first change and not pushed back by the next ones, so that
  // a steady stream of changes is still saved every second or so.
  if (m_moment != SaveMoment::kRunning || m_timerArmed) return {};
  m_timerArmed = true;
  return {Next::kSaveIn, kSettleMs};
}

// A timer message may still be queued when the timer is no longer meant: it
// saves nothing.
bool SaveSchedule::TimerFired() {
  const bool armed = m_timerArmed;
  m_timerArmed = false;
  return armed && m_dirty && m_moment == SaveMoment::kRunning;
}

void SaveSchedule::Ending(SaveMoment moment) {
  m_moment = moment;
  m_timerArmed = false;
  m_heldTries = 0;
}

WriteMode SaveSchedule::Mode() const {
  return m_heldTries + 1 >= kHeldTries ? WriteMode::kReplaceOrInPlace : WriteMode::kReplace;
}

SaveSchedule::Step SaveSchedule::Saved(const SaveResult& result) {
  switch (result.status) {
    case SaveStatus::kDone:
    case SaveStatus::kUnchanged:
      m_dirty = false;
      m_heldTries = 0;
      m_told = false;  // a later failure is news again
      return {};
    case SaveStatus::kReadOnly:
      // The user's choice: nothing to try again, nothing to tell.
      m_dirty = false;
      m_heldTries = 0;
      return {};
    case SaveStatus::kFailed:
      break;
  }
  m_dirty = true;  // also a dialog's writes, which the bar now keeps
  if (MayPass(result.fault) && ++m_heldTries < kHeldTries) {
    if (m_moment == SaveMoment::kRunning) m_timerArmed = true;
    return {Next::kSaveIn, kRetryMs};
  }
  return GiveUp();
}

SaveSchedule::Step SaveSchedule::GiveUp() {
  m_heldTries = 0;
  switch (m_moment) {
    case SaveMoment::kRunning:
      if (m_told) return {};
      m_told = true;
      return {Next::kTell};
    case SaveMoment::kEnding:
      return {Next::kAsk};
    case SaveMoment::kLoggingOff:
      return {};
  }
  return {};
}
