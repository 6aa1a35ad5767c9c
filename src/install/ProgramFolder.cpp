#include "install/ProgramFolder.h"

#include "base/Text.h"

bool IsDirectlyIn(std::u16string_view program, std::u16string_view folder) {
  while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.remove_suffix(1);
  if (folder.empty() || program.size() <= folder.size() + 1) return false;
  const char16_t separator = program[folder.size()];
  if (separator != u'\\' && separator != u'/') return false;
  const std::u16string_view name = program.substr(folder.size() + 1);
  if (name.find_first_of(u"\\/") != std::u16string_view::npos) return false;
  return FoldPathCase(program.substr(0, folder.size())) == FoldPathCase(folder);
}
