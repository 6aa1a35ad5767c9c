// The copies of Quarrow that run from one folder, and their end: what the
// installer's close helper (installer/QuarrowClose.cpp) does before the
// installer touches the program folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The processes whose program lies directly in `folder` (a full path).
std::vector<DWORD> CopiesRunningFrom(const std::wstring& folder);

// Gives each copy running from `folder` the exit command (it saves its
// settings as at any exit) and waits up to `ms` for all of them to end.
// True when none runs any more.
bool EndCopiesRunningFrom(const std::wstring& folder, DWORD ms);
