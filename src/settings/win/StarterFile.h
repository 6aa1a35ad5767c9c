// A first start's settings file (settings/StarterSettings.h), written where
// there is none.
#pragma once

#include <string>

// Writes the starter settings to `path` when no file is there. Where none can
// be written (a read-only folder) the bar goes on with the read defaults.
void WriteStarterFileWhereNone(const std::string& path);
