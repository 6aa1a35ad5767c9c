// The settings file read in one pass and saved in one write.
//
// Each GetPrivateProfileStringA opens and parses the whole file again, and each
// WritePrivateProfileStringA rewrites it whole (Wine's truncate it, then write
// it line by line): the start-up's reads were much of its time, a large file
// took seconds to save, and a process ended during a save left a half file.
// So the program reads the file once whenever it needs values, and a save
// builds the new file in memory and puts it in the old one's place at once.
#pragma once

#include <functional>
#include <string>

#include "settings/CodePage.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSnapshot.h"

// Quarrow.ini in the process's current directory.
std::string CurrentSettingsPath();

// The system's ANSI code page (MultiByteToWideChar, WideCharToMultiByte).
const CodePage& SystemCodePage();

// The file at `path` as it is now. A file that is missing or cannot be read
// (locked, a folder of that name, no permission) gives every default.
SettingsSnapshot ReadSettingsSnapshot(const std::string& path);

// Runs `save` on the file's content in memory and writes the result to a new
// file beside it, which then takes the file's place, so that the file is
// always either the old one or the new one. Where no new file can be made
// beside it (a folder without write permission), the file is written in
// place. A file that cannot be read is not written (its content would be
// lost), and what cannot be written is lost, unreported, as the profile
// functions lose it.
void SaveWholeFile(const std::string& path, const std::function<void(const SettingsFile&)>& save);
