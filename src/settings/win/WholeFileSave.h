// A save of several values that reaches the settings file in one step.
//
// The profile functions rewrite the whole file for every value they write
// (Wine's truncate it, then write it line by line). A process ended meanwhile
// (killed, or the session torn down) left an empty or half file behind, and
// with it lost the engines, keywords and sites kept there too.
#pragma once

#include <functional>

#include "settings/SettingsFile.h"

// Runs `save` on a copy of `file` beside it, then renames the copy over the
// file, so that the file is always either the old one or the new one. Where no
// copy can be made or it cannot take the file's place (a read-only or locked
// file), `save` writes straight into the file as the profile functions always
// did, and what they refuse is lost, unreported, as before.
void SaveWholeFile(const SettingsFile& file, const std::function<void(const SettingsFile&)>& save);
