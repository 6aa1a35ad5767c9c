// One settings file held in memory: read once, its values answered as the
// profile functions answer them, changed in memory, and turned back into the
// file's bytes to be written once. Lines that are not changed keep their bytes.
//
// Names and values are the program's UTF-8 text. The file keeps its own
// encoding: GBK without a byte-order mark, UTF-16 (little or big endian) or
// UTF-8 with one. A write that GBK cannot hold turns a GBK file into UTF-16
// little endian with its mark, every line kept as text: the form the
// system's own profile functions read and write.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/FileEncoding.h"

class IniDocument {
 public:
  // `bytes`: the whole file (empty for a missing one). `gbk` must outlive the
  // document.
  IniDocument(std::string_view bytes, const GbkCodec& gbk);
  // Its lines point into its own buffers.
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // As ProfileStore::Read.
  std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // As ProfileStore::Write, in memory. Returns false when the bytes stay as they were.
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  // As ProfileStore::ReadableCut: 1023 bytes of a GBK file, 1023 UTF-16 units
  // of any other (as the wide profile functions read through 1024 units).
  std::string ReadableCut(std::string_view value) const;

  // The file's bytes as they are now.
  std::string Bytes() const;

 private:
  enum class Encoding { kGbk, kUtf16Le, kUtf16Be, kUtf8 };
  enum class Kind { kBlank, kHeader, kKey, kOther };

  // One line, its texts pointing into m_source, m_decoded or m_added.
  struct Line {
    std::string_view text;  // the content as the program's text, without the line end
    std::string_view raw;   // the content as the file has it (for ASCII, `text`)
    std::string_view end;   // the line end as the file has it (CR LF, LF, CR or none)
    Kind kind = Kind::kBlank;
    // Offsets into `text`: the header's name, or the entry's name and value,
    // blanks around them removed.
    size_t nameBegin = 0, nameLength = 0, valueBegin = 0, valueLength = 0;

    std::string_view Name() const { return text.substr(nameBegin, nameLength); }
    std::string_view Value() const { return text.substr(valueBegin, valueLength); }
  };

  void Load(std::string_view bytes);
  // The text of each line, as (offset, length) in m_decoded, or kRawText
  // when a line's bytes are its text.
  using Spans = std::vector<std::pair<size_t, size_t>>;
  static constexpr size_t kRawText = static_cast<size_t>(-1);
  void AddLine(std::string_view raw, std::string_view end, Spans& spans);
  void SplitUtf16Lines(std::string_view content, Spans& spans);
  void SplitByteLines(std::string_view content, Spans& spans);
  // Write, with no line break in the text written.
  bool WriteLine(std::string_view section, std::string_view key, std::string_view value);
  static void Classify(Line& line);
  // False when the file's encoding cannot hold `text`.
  bool Encode(std::string_view text, std::string& raw) const;
  // The text of a line's bytes.
  std::string Decode(std::string_view raw) const;
  // A GBK file becomes UTF-16 little endian, every line's text kept.
  void BecomeUtf16();
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

  const GbkCodec* m_gbk;
  Encoding m_encoding = Encoding::kGbk;
  std::string m_source;   // the file's bytes as read
  std::string m_decoded;  // the text of the lines whose bytes are not their text
  std::deque<std::string> m_added;  // texts of lines written since (a deque keeps them in place)
  std::string m_lineEnd;  // CR LF in the file's encoding
  std::string_view m_mark;  // the byte-order mark
  std::string_view m_tail;  // an odd last byte of a UTF-16 file
  std::vector<Line> m_lines;
  std::vector<size_t> m_headers;  // the lines that are section headers, in order
};
