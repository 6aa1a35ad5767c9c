#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "settings/SaveNotice.h"
#include "settings/SaveSchedule.h"

namespace {

SaveResult Failure(SaveFault fault) { return SaveResult::Failure(fault, 99); }

// Feeds the schedule one event and gives its answer as short text. Events:
// change, timer, end, logoff, retry, and a save's result: done, unchanged,
// readonly, inuse, denied, nofolder, diskfull. Answers: "-" (nothing), "in N"
// (save after N ms), "tell", "ask"; the timer answers "save", "save in place"
// or "skip"; end, logoff and retry answer "".
std::string Apply(SaveSchedule& schedule, const std::string& event) {
  auto answer = [](SaveSchedule::Step step) -> std::string {
    switch (step.next) {
      case SaveSchedule::Next::kNothing: return "-";
      case SaveSchedule::Next::kSaveIn: return "in " + std::to_string(step.ms);
      case SaveSchedule::Next::kTell: return "tell";
      case SaveSchedule::Next::kAsk: return "ask";
    }
    return "?";
  };
  if (event == "change") return answer(schedule.Changed());
  if (event == "timer") {
    if (!schedule.TimerFired()) return "skip";
    return schedule.Mode() == WriteMode::kReplaceOrInPlace ? "save in place" : "save";
  }
  if (event == "end" || event == "logoff") {
    schedule.Ending(event == "end" ? SaveMoment::kEnding : SaveMoment::kLoggingOff);
    return "";
  }
  if (event == "retry") return schedule.RetryAsked(), "";
  if (event == "done") return answer(schedule.Saved({SaveStatus::kDone}));
  if (event == "unchanged") return answer(schedule.Saved({SaveStatus::kUnchanged}));
  if (event == "readonly") return answer(schedule.Saved({SaveStatus::kReadOnly}));
  if (event == "inuse") return answer(schedule.Saved(Failure(SaveFault::kInUse)));
  if (event == "denied") return answer(schedule.Saved(Failure(SaveFault::kAccessDenied)));
  if (event == "nofolder") return answer(schedule.Saved(Failure(SaveFault::kFolderMissing)));
  if (event == "diskfull") return answer(schedule.Saved(Failure(SaveFault::kDiskFull)));
  ADD_FAILURE() << "no such event: " << event;
  return "?";
}

// The timer tries a held file four times after the first: every try but the
// last is a replace only.
const std::string kHeldRound =
    "timer=save; inuse=in 500; timer=save; denied=in 500; timer=save; inuse=in 500; timer=save; "
    "inuse=in 500; timer=save in place; ";

}  // namespace

// Each scenario: "event=answer; ..." in turn, then whether state is still owed.
TEST(SaveSchedule, WhenToWriteTryAgainTellAndAsk) {
  const struct {
    const char* name;
    std::string script;
    bool dirty;
  } scenarios[] = {
      {"a burst of changes is one write, armed at the first",
       "change=in 1000; change=-; change=-; change=-; timer=save; done=-", false},
      {"a change after a save starts a new round; a timer no longer armed saves nothing",
       "change=in 1000; timer=save; unchanged=-; timer=skip; change=in 1000", true},
      {"a change during the retries waits for them",
       "change=in 1000; timer=save; inuse=in 500; change=-; timer=save; done=-", false},
      {"a held file: four more tries, the last in place, then told; the next round is not told again",
       "change=in 1000; " + kHeldRound + "inuse=tell; change=in 1000; " + kHeldRound + "inuse=-; timer=skip", true},
      {"a fault that does not pass is told at once, once; after a success the next one is news",
       "change=in 1000; timer=save; nofolder=tell; change=in 1000; timer=save; diskfull=-; "
       "change=in 1000; timer=save; done=-; change=in 1000; timer=save; nofolder=tell", true},
      {"a held file let go during the tries: saved, nothing told, the next fault told",
       "change=in 1000; timer=save; inuse=in 500; timer=save; done=-; change=in 1000; timer=save; nofolder=tell",
       true},
      {"read-only is the user's choice: not tried again, never told",
       "change=in 1000; timer=save; readonly=-; timer=skip; change=in 1000; timer=save; readonly=-", false},
      {"a dialog's failed save is owed and tried again by the timer",
       "inuse=in 500; timer=save; nofolder=tell; timer=skip; change=in 1000", true},
      {"the end saves what is owed; no timer while ending", "change=in 1000; end=; timer=skip; change=-; done=-",
       false},
      {"at the end a held file is waited for, then the user asked; Retry starts the tries again",
       "change=in 1000; end=; inuse=in 500; inuse=in 500; inuse=in 500; inuse=in 500; inuse=ask; retry=; "
       "inuse=in 500; done=-", false},
      {"told while running, asked at the end all the same",
       "change=in 1000; timer=save; diskfull=tell; end=; diskfull=ask", true},
      {"logging off tries, never asks", "change=in 1000; logoff=; nofolder=-; inuse=in 500", true},
  };
  for (const auto& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    SaveSchedule schedule;
    std::istringstream steps(scenario.script);
    for (std::string step; std::getline(steps >> std::ws, step, ';');) {
      const size_t is = step.find('=');
      EXPECT_EQ(Apply(schedule, step.substr(0, is)), step.substr(is + 1)) << step;
    }
    EXPECT_EQ(schedule.Dirty(), scenario.dirty);
  }
}

// At the end too the fifth try at a held file may write in place, and Retry
// gives a whole new round.
TEST(SaveSchedule, AtTheEndTheLastHeldTryMayWriteInPlace) {
  SaveSchedule schedule;
  schedule.Ending(SaveMoment::kEnding);
  std::string modes;
  for (int i = 0; i < SaveSchedule::kHeldTries; ++i) {
    modes += schedule.Mode() == WriteMode::kReplace ? "r" : "p";
    schedule.Saved(Failure(SaveFault::kInUse));
  }
  EXPECT_EQ(modes, "rrrrp");
  schedule.RetryAsked();
  EXPECT_EQ(schedule.Mode(), WriteMode::kReplace);
}

TEST(SaveNotice, SaysWhyInTheUsersWordsAndWhichFile) {
  const struct {
    SaveResult result;
    std::string systemText, reason;
  } cases[] = {
      {SaveResult::Failure(SaveFault::kInUse, 32), "ignored", "文件正被另一个程序使用。"},
      {SaveResult::Failure(SaveFault::kAccessDenied, 5), "", "没有写入这个文件的权限。"},
      {SaveResult::Failure(SaveFault::kDiskFull, 112), "", "磁盘已满。"},
      {SaveResult::Failure(SaveFault::kFolderMissing, 3), "", "找不到文件所在的文件夹。"},
      {SaveResult::Failure(SaveFault::kOther, 1117), "由于 I/O 设备错误，无法运行此项请求。\r\n",
       "由于 I/O 设备错误，无法运行此项请求。"},
      {SaveResult::Failure(SaveFault::kOther, 1117), " \r\n", "错误代码 1117"},
      {SaveResult::Failure(SaveFault::kOther, 0x80070070), "", "错误代码 -2147024784"},
  };
  const std::string path = "D:\\工具\\Quarrow.ini";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    EXPECT_EQ(SaveFailureReason(c.result, c.systemText), c.reason);
    const std::string note = SaveFailureNote(path, c.result, c.systemText);
    EXPECT_EQ(note.rfind(c.reason + "\n" + path + "\n", 0), 0u) << "the reason first, then the file: " << note;
    const std::string question = SaveFailureQuestion(path, c.result, c.systemText);
    for (const std::string& piece : {path, c.reason, std::string("重试"), std::string("取消")}) {
      EXPECT_NE(question.find(piece), std::string::npos) << piece << " missing from " << question;
    }
  }
}
