// What the user is told of a save of the settings file that failed: plainly,
// in the program's language, which file and why.
#pragma once

#include <string>
#include <string_view>

#include "settings/SaveResult.h"

// The reason in a few words: the program's own for the common faults, the
// system's text (`systemText`, may be empty) for the others, else the code.
std::string SaveFailureReason(const SaveResult& result, std::string_view systemText);

// The text of the notification while the bar runs: the reason, the file, and
// that nothing is lost yet.
std::string SaveFailureNote(std::string_view path, const SaveResult& result, std::string_view systemText);

// The text of the question at the end (Retry or Cancel).
std::string SaveFailureQuestion(std::string_view path, const SaveResult& result, std::string_view systemText);
