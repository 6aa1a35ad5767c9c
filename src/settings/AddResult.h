// The outcome of adding an entry to one of the settings lists (engines,
// keywords, sites). Only adding checks anything; replacing takes any text.
#pragma once

enum class AddResult {
  Added,
  NameMissing,  // engines: the name is empty after leading blanks are removed
  CodeMissing,  // engines: the search code is empty after leading blanks are removed
  TextMissing,  // keywords and sites: the text is empty after leading blanks are removed
  Duplicate,    // an entry of that name (whole text, letter case ignored) is already there
};
