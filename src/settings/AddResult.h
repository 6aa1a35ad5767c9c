// The outcome of adding an entry to one of the settings lists (engines,
// keywords, sites). Adding checks the texts; replacing takes any name and
// code, and checks only an engine's shortcut.
#pragma once

enum class AddResult {
  Added,
  NameMissing,  // engines: the name is empty after leading blanks are removed
  CodeMissing,  // engines: the search code is empty after leading blanks are removed
  TextMissing,  // keywords and sites: the text is empty after leading blanks are removed
  Duplicate,    // an entry of that name (whole text, letter case ignored) is already there
  ShortcutHasBlank,  // engines: the shortcut is more than one word
  ShortcutTaken,     // engines: another engine has that shortcut (letter case ignored)
};
