// The settings file saved in one write.
//
// Each WritePrivateProfileString rewrites the whole file (Wine's truncates it,
// then writes it line by line): a large file took seconds to save, and a
// process ended during a save left a half file. So a save builds the new file
// in memory and puts it in the old one's place at once.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "settings/SaveResult.h"
#include "settings/SettingsFile.h"

// What a save writes into the file's content.
using SettingsWrites = std::function<void(const SettingsFile&)>;

// Runs `save` on the file's content in memory and writes the result to a new
// file beside it, which then takes the file's place, so that the file is
// always either the old one or the new one. Where no new file can be made
// beside it (a folder without write permission), the file is written in
// place; with kReplaceOrInPlace also where the old one is held by another
// program. A file that cannot be read is not written (its content would be
// lost), nor is a read-only one. The new file of a save that fails never
// stays behind, and the result says what happened: nothing is ever reported
// saved that was not.
[[nodiscard]] SaveResult SaveWholeFile(const std::string& path, const SettingsWrites& save,
                                       WriteMode mode = WriteMode::kReplaceOrInPlace);

// A dialog's save on OK, tried once: its writes, which the bar makes again
// should they not have reached the file, and how it went.
struct TriedSave {
  SettingsWrites writes;
  SaveResult result{SaveStatus::kUnchanged};  // nothing tried
};

// The core's name for the system's error `error`.
SaveFault SaveFaultOf(DWORD error);

// The system's text for `error` in the user's language, without the line
// break it ends with; empty when the system has none.
std::string SystemErrorText(DWORD error);
