// One bar per settings file. Two copies of Quarrow on the same Quarrow.ini
// would each keep their own history and the one that exits last would write
// over the other's, so a second start on the same file shows the running bar
// and ends instead. Copies on different settings files run side by side.
//
// Here is what tells one settings file from another, platform-free: the key
// a running bar is known by. Paths are UTF-16, as the system gives them.
#pragma once

#include <string>
#include <string_view>

// The key of the bar that runs on the settings file `settingsPath` (a full
// path): "Quarrow.Bar." and sixteen hexadecimal digits of a hash of the
// folded path. The same file written in other capitals gives the same key.
// It holds no backslash and is short, so it names a kernel object (after
// "Local\") and a window property alike, whatever the path's length.
std::u16string BarInstanceKey(std::u16string_view settingsPath);
