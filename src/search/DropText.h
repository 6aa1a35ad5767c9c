// What text dropped on the bar searches for.
#pragma once

#include <string_view>

// The part after the last tab (the whole text when there is none), so that a
// dragged table row gives its last column, with white space removed at both
// ends. Empty means the drop does nothing. The result views `dropped`.
std::string_view DroppedQuery(std::string_view dropped);
