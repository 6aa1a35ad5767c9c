// What a save of the settings file came to, in the core's terms: the window
// layer turns the system's error into a SaveFault, the core decides from it
// whether to try again and what to tell the user.
#pragma once

#include <cstdint>

enum class SaveStatus {
  kDone,       // the file now holds the save
  kUnchanged,  // the save changed nothing, so nothing was written
  kReadOnly,   // refused: a read-only file is the user's way to freeze the settings
  kFailed,     // not written; the old file is untouched
};

enum class SaveFault {
  kNone,
  kInUse,          // another program holds the file
  kAccessDenied,   // refused; also what a replace of a held file is told
  kDiskFull,
  kFolderMissing,  // the folder (or its drive) is gone
  kOther,
};

struct SaveResult {
  SaveStatus status = SaveStatus::kDone;
  SaveFault fault = SaveFault::kNone;
  std::uint32_t systemError = 0;  // the system's code of a failure, for its own text

  static constexpr SaveResult Failure(SaveFault fault, std::uint32_t systemError) {
    return {SaveStatus::kFailed, fault, systemError};
  }
  bool Failed() const { return status == SaveStatus::kFailed; }
};

// How far one attempt may go when the file cannot be replaced by a new one.
enum class WriteMode {
  kReplace,           // new file beside the old, renamed over it (in place only
                      // where the folder takes no new file at all)
  kReplaceOrInPlace,  // and, should the old one be held, the old one written over
};
