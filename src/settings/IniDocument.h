// One settings file held in memory: read once, its values answered as the
// profile functions answer them, changed in memory, and turned back into the
// file's bytes to be written once. Lines that are not changed keep their bytes.
//
// A file with a byte-order mark is text in UTF-16 (little or big endian) or
// UTF-8: its text is seen in the ANSI code page, and what is written into it
// is converted back, so the file keeps its encoding.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/CodePage.h"

class IniDocument {
 public:
  // `bytes`: the whole file (empty for a missing one). `codePage` must outlive
  // the document.
  IniDocument(std::string_view bytes, const CodePage& codePage);
  // Its lines point into its own buffers.
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // As ProfileStore::Read.
  std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // As ProfileStore::Write, in memory. Returns false when the bytes stay as they were.
  bool Write(std::string_view section, std::string_view key, std::string_view value);

  // The file's bytes as they are now.
  std::string Bytes() const;

 private:
  enum class Encoding { kAnsi, kUtf16Le, kUtf16Be, kUtf8 };
  enum class Kind { kBlank, kHeader, kKey, kOther };

  // One line, its texts pointing into m_source, m_decoded or m_added.
  struct Line {
    std::string_view text;  // the content in the ANSI code page, without the line end
    std::string_view raw;   // the content as the file has it (for an ANSI file, `text`)
    std::string_view end;   // the line end as the file has it (CR LF, LF, CR or none)
    Kind kind = Kind::kBlank;
    // Offsets into `text`: the header's name, or the entry's name and value,
    // blanks around them removed.
    size_t nameBegin = 0, nameLength = 0, valueBegin = 0, valueLength = 0;

    std::string_view Name() const { return text.substr(nameBegin, nameLength); }
    std::string_view Value() const { return text.substr(valueBegin, valueLength); }
  };

  void Load(std::string_view bytes);
  void AddLine(std::string_view raw, std::string_view end);
  void SplitUtf16Lines(std::string_view content, std::vector<std::pair<size_t, size_t>>& spans);
  void SplitByteLines(std::string_view content, std::vector<std::pair<size_t, size_t>>& spans);
  // Write, with no line break in the text written.
  bool WriteLine(std::string_view section, std::string_view key, std::string_view value);
  static void Classify(Line& line);
  std::string Encode(std::string_view text) const;
  // The ANSI text of a line of a UTF-16 or UTF-8 file.
  std::string Decode(std::string_view raw) const;
  std::string_view Keep(std::string text);
  // A new line of `text`, ended with CR LF.
  Line MakeLine(std::string text);
  void InsertLine(size_t at, Line line);

  // The first header of `name`, or m_lines.size(); the section runs to the next header.
  size_t FindSection(std::string_view name) const;
  size_t SectionEnd(size_t header) const;
  // Reading sees only lines with '='; writing also takes a line without one
  // as the key of its name and gives it the value (as Wine does).
  size_t FindEntry(size_t header, std::string_view name, bool forWriting) const;

  const CodePage* m_codePage;
  Encoding m_encoding = Encoding::kAnsi;
  std::string m_source;   // the file's bytes as read
  std::string m_decoded;  // the text of a UTF-16 or UTF-8 file in the ANSI code page
  std::deque<std::string> m_added;  // texts of lines written since (a deque keeps them in place)
  std::string m_lineEnd;  // CR LF in the file's encoding
  std::string_view m_mark;  // the byte-order mark
  std::string_view m_tail;  // an odd last byte of a UTF-16 file
  std::vector<Line> m_lines;
  std::vector<size_t> m_headers;  // the lines that are section headers, in order
};
