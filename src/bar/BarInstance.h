// One bar per settings file. Two copies of Quarrow on the same Quarrow.ini
// would each keep their own history and the one that exits last would write
// over the other's, so a second start on the same file shows the running bar
// and ends instead. Copies on different settings files run side by side.
//
// Here is what tells one settings file from another, platform-free: the key
// a running bar is known by, and whether a program lies in a folder (the
// installer's close helper finds the copies of the installed program by it).
// Paths are UTF-16, as the system gives them.
#pragma once

#include <string>
#include <string_view>

// `path` with its letters folded to capitals, as Windows compares file names
// (FoldCase: every cased script; characters without case, Chinese among them,
// are left as they are).
std::u16string FoldPathCase(std::u16string_view path);

// The key of the bar that runs on the settings file `settingsPath` (a full
// path): "Quarrow.Bar." and sixteen hexadecimal digits of a hash of the
// folded path. The same file written in other capitals gives the same key.
// It holds no backslash and is short, so it names a kernel object (after
// "Local\") and a window property alike, whatever the path's length.
std::u16string BarInstanceKey(std::u16string_view settingsPath);

// Whether the file `program` (a full path) lies directly in `folder` (a full
// path, with or without a final backslash), capitals aside.
bool IsDirectlyIn(std::u16string_view program, std::u16string_view folder);
