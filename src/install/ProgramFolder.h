// Which running programs the installer's close helper asks to exit: the
// copies of the installed program, known by the folder they run from.
#pragma once

#include <string_view>

// Whether the file `program` (a full path) lies directly in `folder` (a full
// path, with or without a final backslash), capitals aside.
bool IsDirectlyIn(std::u16string_view program, std::u16string_view folder);
