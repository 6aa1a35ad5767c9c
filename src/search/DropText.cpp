#include "search/DropText.h"

#include "base/Text.h"

std::string_view DroppedQuery(std::string_view dropped) {
  // A tab byte is never part of a two-byte character, so searching bytes from
  // the end is safe; the work is one pass over the text however large it is.
  const size_t lastTab = dropped.rfind('\t');
  if (lastTab != std::string_view::npos) dropped.remove_prefix(lastTab + 1);
  return Trim(dropped);
}
