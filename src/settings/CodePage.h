// Conversion between the ANSI code page (GBK) and UTF-16, which the settings
// file needs for a file an editor saved as UTF-16 or UTF-8: the program sees
// its text in the ANSI code page, as the profile functions give it. The core
// has no code tables of its own; the window layer hands in the system's.
#pragma once

#include <string>
#include <string_view>

class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::u16string ToUtf16(std::string_view ansi) const = 0;
  // What the code page cannot hold becomes '?', as WideCharToMultiByte does.
  virtual std::string FromUtf16(std::u16string_view text) const = 0;
};

// ASCII only: every other character becomes '?'. For tools that have no code
// tables (the fuzz target, the benchmark).
class AsciiCodePage : public CodePage {
 public:
  std::u16string ToUtf16(std::string_view ansi) const override;
  std::string FromUtf16(std::u16string_view text) const override;
};

// UTF-8 and UTF-16 into each other; a broken sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);
