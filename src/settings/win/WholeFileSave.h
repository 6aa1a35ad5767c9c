// The settings file saved in one write.
//
// Each WritePrivateProfileString rewrites the whole file (Wine's truncates it,
// then writes it line by line): a large file took seconds to save, and a
// process ended during a save left a half file. So a save builds the new file
// in memory and puts it in the old one's place at once.
#pragma once

#include <functional>
#include <string>

#include "settings/SettingsFile.h"

// Runs `save` on the file's content in memory and writes the result to a new
// file beside it, which then takes the file's place, so that the file is
// always either the old one or the new one. Where no new file can be made
// beside it (a folder without write permission), the file is written in
// place. A file that cannot be read is not written (its content would be
// lost), and what cannot be written is lost, unreported, as the profile
// functions lose it.
void SaveWholeFile(const std::string& path, const std::function<void(const SettingsFile&)>& save);
