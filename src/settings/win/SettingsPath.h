// Where Quarrow.ini is: in the process's current folder, whatever its name
// and length.
#pragma once

#include <string>

// The current folder as the program's UTF-8; empty when it cannot be had.
std::string CurrentDirectory();

// Quarrow.ini in the current folder, the folder by its long name. Should the
// folder not be had at all, ".\Quarrow.ini" still names the file in it.
// Computed once, at start: the bar hands it to what needs it.
std::string CurrentSettingsPath();
