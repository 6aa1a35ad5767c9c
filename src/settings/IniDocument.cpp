#include "settings/IniDocument.h"

#include <algorithm>

#include "base/Text.h"
#include "settings/ProfileStore.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF", kUtf8Mark = "\xEF\xBB\xBF";

// Blanks around names and values: the C library's white space and Ctrl-Z,
// the old end-of-file mark, as the profile functions take them.
bool IsIniBlank(char c) { return IsBlank(c) || c == '\x1A'; }

// The profile functions take C strings: whatever follows a NUL is not seen.
std::string_view AsCString(std::string_view text) { return text.substr(0, text.find('\0')); }

// One pair of enclosing quotes, double or single, is removed on reading.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

char16_t UnitAt(std::string_view bytes, size_t at, bool bigEndian) {
  unsigned char first = static_cast<unsigned char>(bytes[at]), second = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

void AppendUnits(std::string& out, std::u16string_view units, bool bigEndian) {
  for (char16_t unit : units) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes, const CodePage& codePage) : m_codePage(&codePage) {
  Load(bytes);
}

void IniDocument::Load(std::string_view bytes) {
  std::string source(bytes);  // `bytes` may point into this document
  m_source = std::move(source);
  m_decoded.clear();
  m_added.clear();
  m_lines.clear();
  m_headers.clear();
  std::string_view all = m_source;
  auto starts = [&](std::string_view mark) { return all.substr(0, mark.size()) == mark; };
  m_encoding = starts(kUtf8Mark)      ? Encoding::kUtf8
               : starts(kUtf16LeMark) ? Encoding::kUtf16Le
               : starts(kUtf16BeMark) ? Encoding::kUtf16Be
                                      : Encoding::kAnsi;
  const size_t markSize = m_encoding == Encoding::kUtf8 ? 3 : m_encoding == Encoding::kAnsi ? 0 : 2;
  m_mark = all.substr(0, markSize);
  m_lineEnd = Encode(kLineEnd);
  std::string_view content = all.substr(markSize);
  m_tail = {};

  // About one line for each line end (CR LF, LF or CR): the vector need not grow.
  m_lines.reserve(std::max(std::count(content.begin(), content.end(), '\n'),
                           std::count(content.begin(), content.end(), '\r')) + 1);
  // The text of each line of an encoded file, as (offset, length) in m_decoded
  // until m_decoded is complete.
  std::vector<std::pair<size_t, size_t>> spans;
  if (m_encoding == Encoding::kUtf16Le || m_encoding == Encoding::kUtf16Be) {
    SplitUtf16Lines(content, spans);
  } else {
    SplitByteLines(content, spans);
  }
  if (m_encoding != Encoding::kAnsi) {
    for (size_t i = 0; i < m_lines.size(); ++i) {
      m_lines[i].text = std::string_view(m_decoded).substr(spans[i].first, spans[i].second);
      Classify(m_lines[i]);
    }
  }
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (m_lines[i].kind == Kind::kHeader) m_headers.push_back(i);
  }
}

// A line as it stands in the file; an ANSI line is its own text.
void IniDocument::AddLine(std::string_view raw, std::string_view end) {
  Line& line = m_lines.emplace_back();
  line.raw = raw;
  line.end = end;
  if (m_encoding == Encoding::kAnsi) {
    line.text = raw;
    Classify(line);
  }
}

void IniDocument::SplitUtf16Lines(std::string_view content, std::vector<std::pair<size_t, size_t>>& spans) {
  const bool bigEndian = m_encoding == Encoding::kUtf16Be;
  const size_t units = content.size() / 2;
  m_tail = content.substr(2 * units);
  auto unit = [&](size_t i) { return UnitAt(content, 2 * i, bigEndian); };
  std::u16string text;
  for (size_t pos = 0; pos < units;) {
    size_t begin = pos;
    while (pos < units && unit(pos) != u'\r' && unit(pos) != u'\n') ++pos;
    size_t contentEnd = pos;
    if (pos < units) pos += (unit(pos) == u'\r' && pos + 1 < units && unit(pos + 1) == u'\n') ? 2 : 1;
    text.clear();
    for (size_t i = begin; i < contentEnd; ++i) text.push_back(unit(i));
    size_t offset = m_decoded.size();
    m_decoded += m_codePage->FromUtf16(text);
    spans.emplace_back(offset, m_decoded.size() - offset);
    AddLine(content.substr(2 * begin, 2 * (contentEnd - begin)),
            content.substr(2 * contentEnd, 2 * (pos - contentEnd)));
  }
}

// ANSI and UTF-8 files: lines end at CR LF, LF or CR.
void IniDocument::SplitByteLines(std::string_view content, std::vector<std::pair<size_t, size_t>>& spans) {
  for (size_t pos = 0; pos < content.size();) {
    size_t begin = pos;
    size_t found = content.find_first_of("\r\n", pos);
    pos = found == std::string_view::npos ? content.size() : found;
    size_t contentEnd = pos;
    if (pos < content.size()) pos += (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n') ? 2 : 1;
    std::string_view raw = content.substr(begin, contentEnd - begin);
    if (m_encoding == Encoding::kUtf8) {
      size_t offset = m_decoded.size();
      m_decoded += m_codePage->FromUtf16(Utf8ToUtf16(raw));
      spans.emplace_back(offset, m_decoded.size() - offset);
    }
    AddLine(raw, content.substr(contentEnd, pos - contentEnd));
  }
}

void IniDocument::Classify(Line& line) {
  std::string_view all = line.text;
  std::string_view content = TrimRightIf(TrimLeftIf(all, IsIniBlank), IsIniBlank);
  auto set = [&](std::string_view name, std::string_view value) {
    line.nameBegin = name.data() - all.data();
    line.nameLength = name.size();
    line.valueBegin = value.empty() ? 0 : value.data() - all.data();
    line.valueLength = value.size();
  };
  line.kind = Kind::kBlank;
  if (content.empty()) return;
  if (content.front() == '[') {
    size_t close = content.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      line.kind = Kind::kHeader;
      set(TrimRightIf(TrimLeftIf(content.substr(1, close - 1), IsIniBlank), IsIniBlank), {});
      return;
    }
  }
  size_t equals = content.find('=');
  if (equals == std::string_view::npos) {
    line.kind = Kind::kOther;
    set(content, {});
  } else {
    line.kind = Kind::kKey;
    set(TrimRightIf(content.substr(0, equals), IsIniBlank), TrimLeftIf(content.substr(equals + 1), IsIniBlank));
  }
}

std::string IniDocument::Encode(std::string_view text) const {
  switch (m_encoding) {
    case Encoding::kAnsi: return std::string(text);
    case Encoding::kUtf8: return Utf16ToUtf8(m_codePage->ToUtf16(text));
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be: {
      std::string out;
      AppendUnits(out, m_codePage->ToUtf16(text), m_encoding == Encoding::kUtf16Be);
      return out;
    }
  }
  return std::string(text);
}

std::string IniDocument::Decode(std::string_view raw) const {
  if (m_encoding == Encoding::kUtf8) return m_codePage->FromUtf16(Utf8ToUtf16(raw));
  std::u16string units;
  for (size_t i = 0; i + 1 < raw.size(); i += 2) units.push_back(UnitAt(raw, i, m_encoding == Encoding::kUtf16Be));
  return m_codePage->FromUtf16(units);
}

std::string_view IniDocument::Keep(std::string text) { return m_added.emplace_back(std::move(text)); }

IniDocument::Line IniDocument::MakeLine(std::string text) {
  Line line;
  if (m_encoding == Encoding::kAnsi) {
    line.text = line.raw = Keep(std::move(text));
  } else {
    // The text as the file gives it back: what the code page cannot hold is lost.
    line.raw = Keep(Encode(text));
    line.text = Keep(Decode(line.raw));
  }
  line.end = m_lineEnd;
  Classify(line);
  return line;
}

void IniDocument::InsertLine(size_t at, Line line) {
  for (size_t& header : m_headers) {
    if (header >= at) ++header;
  }
  if (line.kind == Kind::kHeader) {
    m_headers.insert(std::upper_bound(m_headers.begin(), m_headers.end(), at), at);
  }
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), line);
}

size_t IniDocument::FindSection(std::string_view name) const {
  for (size_t header : m_headers) {
    if (EqualsIgnoreCase(AsCString(m_lines[header].Name()), name)) return header;
  }
  return m_lines.size();
}

size_t IniDocument::SectionEnd(size_t header) const {
  auto next = std::upper_bound(m_headers.begin(), m_headers.end(), header);
  return next == m_headers.end() ? m_lines.size() : *next;
}

size_t IniDocument::FindEntry(size_t header, std::string_view name, bool forWriting) const {
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    const Line& line = m_lines[i];
    bool candidate = line.kind == Kind::kKey || (forWriting && line.kind == Kind::kOther);
    if (candidate && EqualsIgnoreCase(AsCString(line.Name()), name)) return i;
  }
  return m_lines.size();
}

std::string IniDocument::Read(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  // The default loses its trailing blanks, as the profile function documents.
  std::string_view fallback = AsCString(defaultValue);
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  fallback = CutTo(fallback, kMaxValueLength);

  size_t header = FindSection(AsCString(section));
  if (header == m_lines.size()) return std::string(fallback);
  size_t entry = FindEntry(header, AsCString(key), false);
  if (entry == m_lines.size()) return std::string(fallback);
  return std::string(CutTo(Unquote(AsCString(m_lines[entry].Value())), kMaxValueLength));
}

bool IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
  section = AsCString(section);
  key = AsCString(key);
  value = AsCString(value);
  // A line break in what is written makes more lines of it, as they would be
  // read from the file.
  auto breaks = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
  if (breaks(section) || breaks(key) || breaks(value)) {
    bool changed = WriteLine(section, key, value);
    Load(Bytes());
    return changed;
  }
  return WriteLine(section, key, value);
}

bool IniDocument::WriteLine(std::string_view section, std::string_view key, std::string_view value) {

  size_t header = FindSection(section);
  if (header < m_lines.size()) {
    size_t entry = FindEntry(header, key, true);
    if (entry < m_lines.size()) {
      // The line becomes "name=value", the name spelt as the file has it.
      Line& line = m_lines[entry];
      std::string text;
      text.append(line.Name()).append("=").append(value);
      if (m_encoding == Encoding::kAnsi ? text == line.text : Encode(text) == line.raw) return false;
      Line replaced = MakeLine(std::move(text));
      replaced.end = line.end;
      line = replaced;
      return true;
    }
    // After the section's last line that is not blank.
    size_t last = header;
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
      if (m_lines[i].kind != Kind::kBlank) last = i;
    }
    if (m_lines[last].end.empty()) m_lines[last].end = m_lineEnd;
    std::string text(key);
    text.append("=").append(value);
    InsertLine(last + 1, MakeLine(std::move(text)));
    return true;
  }
  if (!m_lines.empty() && m_lines.back().end.empty() && !m_lines.back().raw.empty()) {
    m_lines.back().end = m_lineEnd;
  }
  std::string headerText("[");
  headerText.append(section).append("]");
  InsertLine(m_lines.size(), MakeLine(std::move(headerText)));
  std::string text(key);
  text.append("=").append(value);
  InsertLine(m_lines.size(), MakeLine(std::move(text)));
  return true;
}

std::string IniDocument::Bytes() const {
  size_t size = m_mark.size() + m_tail.size();
  for (const Line& line : m_lines) size += line.raw.size() + line.end.size();
  std::string bytes;
  bytes.reserve(size);
  bytes.append(m_mark);
  for (const Line& line : m_lines) bytes.append(line.raw).append(line.end);
  bytes.append(m_tail);
  return bytes;
}
