// What a first start writes when there is no settings file yet: the built-in
// engines with their shortcuts, and the keyword and site lists with their one
// default entry each. Without it the menus had nothing to show but the read
// defaults, the same engine ten times over.
#pragma once

#include "settings/SettingsFile.h"

void WriteStarterSettings(const SettingsFile& file);
