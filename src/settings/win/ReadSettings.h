// The settings file read in one pass: whenever the program needs values (at
// start, after a dialog's OK, when the picture is reloaded) it reads the whole
// file once into a snapshot, which answers every key of that moment.
#pragma once

#include <string>

#include "settings/SettingsSnapshot.h"

// The file at `path` as it is now. A file that is missing or cannot be read
// gives every default.
SettingsSnapshot ReadSettingsSnapshot(const std::string& path);
