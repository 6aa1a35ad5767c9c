#include "settings/IniDocument.h"

#include <algorithm>

#include "base/Text.h"
#include "base/Unicode.h"
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

// UTF-16 text as the bytes of a file of that encoding.
std::string Utf16Bytes(std::string_view text, bool bigEndian) {
  std::string out;
  std::u16string units = Utf8ToUtf16(text);
  out.reserve(2 * units.size());
  for (char16_t unit : units) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
  return out;
}

char16_t UnitAt(std::string_view bytes, size_t at, bool bigEndian) {
  unsigned char first = static_cast<unsigned char>(bytes[at]), second = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes, const GbkCodec& gbk) : m_gbk(&gbk) {
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
                                      : Encoding::kGbk;
  const size_t markSize = m_encoding == Encoding::kUtf8 ? 3 : m_encoding == Encoding::kGbk ? 0 : 2;
  m_mark = all.substr(0, markSize);
  Encode(kLineEnd, m_lineEnd);
  std::string_view content = all.substr(markSize);
  m_tail = {};

  // About one line for each line end (CR LF, LF or CR): the vector need not grow.
  m_lines.reserve(std::max(std::count(content.begin(), content.end(), '\n'),
                           std::count(content.begin(), content.end(), '\r')) + 1);
  // m_decoded grows while the lines are split: their texts are pointed at
  // once it is complete.
  Spans spans;
  spans.reserve(m_lines.capacity());
  if (m_encoding == Encoding::kUtf16Le || m_encoding == Encoding::kUtf16Be) {
    SplitUtf16Lines(content, spans);
  } else {
    SplitByteLines(content, spans);
  }
  for (size_t i = 0; i < m_lines.size(); ++i) {
    Line& line = m_lines[i];
    line.text = spans[i].first == kRawText ? line.raw
                                           : std::string_view(m_decoded).substr(spans[i].first, spans[i].second);
    Classify(line);
    if (line.kind == Kind::kHeader) m_headers.push_back(i);
  }
}

void IniDocument::AddLine(std::string_view raw, std::string_view end, Spans& spans) {
  Line& line = m_lines.emplace_back();
  line.raw = raw;
  line.end = end;
  const bool isText = m_encoding == Encoding::kGbk || m_encoding == Encoding::kUtf8 ? IsAscii(raw) : raw.empty();
  if (isText) {
    spans.emplace_back(kRawText, 0);
    return;
  }
  size_t offset = m_decoded.size();
  m_decoded += Decode(raw);
  spans.emplace_back(offset, m_decoded.size() - offset);
}

void IniDocument::SplitUtf16Lines(std::string_view content, Spans& spans) {
  const bool bigEndian = m_encoding == Encoding::kUtf16Be;
  const size_t units = content.size() / 2;
  m_tail = content.substr(2 * units);
  auto unit = [&](size_t i) { return UnitAt(content, 2 * i, bigEndian); };
  for (size_t pos = 0; pos < units;) {
    size_t begin = pos;
    while (pos < units && unit(pos) != u'\r' && unit(pos) != u'\n') ++pos;
    size_t contentEnd = pos;
    if (pos < units) pos += (unit(pos) == u'\r' && pos + 1 < units && unit(pos + 1) == u'\n') ? 2 : 1;
    AddLine(content.substr(2 * begin, 2 * (contentEnd - begin)),
            content.substr(2 * contentEnd, 2 * (pos - contentEnd)), spans);
  }
}

// GBK and UTF-8 files: lines end at CR LF, LF or CR, bytes that never occur
// inside a character of either.
void IniDocument::SplitByteLines(std::string_view content, Spans& spans) {
  for (size_t pos = 0; pos < content.size();) {
    size_t begin = pos;
    size_t found = content.find_first_of("\r\n", pos);
    pos = found == std::string_view::npos ? content.size() : found;
    size_t contentEnd = pos;
    if (pos < content.size()) pos += (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n') ? 2 : 1;
    AddLine(content.substr(begin, contentEnd - begin), content.substr(contentEnd, pos - contentEnd), spans);
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

bool IniDocument::Encode(std::string_view text, std::string& raw) const {
  switch (m_encoding) {
    case Encoding::kGbk: return TextToGbk(text, *m_gbk, raw);
    case Encoding::kUtf8: raw = TextToUtf8File(text); return true;
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be: raw = Utf16Bytes(text, m_encoding == Encoding::kUtf16Be); return true;
  }
  return false;
}

std::string IniDocument::Decode(std::string_view raw) const {
  switch (m_encoding) {
    case Encoding::kGbk: return GbkToText(raw, *m_gbk);
    case Encoding::kUtf8: return Utf8FileToText(raw);
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be: {
      std::u16string units(raw.size() / 2, u'\0');
      for (size_t i = 0; i < units.size(); ++i) units[i] = UnitAt(raw, 2 * i, m_encoding == Encoding::kUtf16Be);
      return Utf16ToUtf8(units);
    }
  }
  return std::string(raw);
}

void IniDocument::BecomeUtf16() {
  // Line ends may view m_lineEnd: the new ones are made before it changes.
  const std::string_view crlf = Keep(Utf16Bytes(kLineEnd, false));
  for (Line& line : m_lines) {
    line.raw = Keep(Utf16Bytes(line.text, false));
    line.end = line.end.empty()       ? std::string_view()
               : line.end == kLineEnd ? crlf
                                      : Keep(Utf16Bytes(line.end, false));
  }
  m_encoding = Encoding::kUtf16Le;
  m_mark = kUtf16LeMark;
  m_lineEnd = crlf;
}

std::string_view IniDocument::Keep(std::string text) { return m_added.emplace_back(std::move(text)); }

IniDocument::Line IniDocument::MakeLine(std::string text) {
  Line line;
  std::string raw;
  Encode(text, raw);  // the caller made sure that it can be encoded
  if (raw == text) {
    line.text = line.raw = Keep(std::move(raw));
  } else {
    // The text as the file gives it back, so that reading it again gives the same.
    line.raw = Keep(std::move(raw));
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

  size_t header = FindSection(AsCString(section));
  if (header == m_lines.size()) return ReadableCut(fallback);
  size_t entry = FindEntry(header, AsCString(key), false);
  if (entry == m_lines.size()) return ReadableCut(fallback);
  return ReadableCut(Unquote(AsCString(m_lines[entry].Value())));
}

std::string IniDocument::ReadableCut(std::string_view value) const {
  // No form of a text is longer than its UTF-8: nothing to cut.
  if (value.size() <= kMaxValueLength) return std::string(value);
  std::string bytes;
  if (m_encoding == Encoding::kGbk && TextToGbk(value, *m_gbk, bytes)) {
    return GbkToText(CutGbkAtCharacter(bytes, kMaxValueLength), *m_gbk);
  }
  // A text GBK cannot hold makes the file UTF-16 when it is written.
  return std::string(CutToUtf16Units(value, kMaxValueLength));
}

bool IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
  section = AsCString(section);
  key = AsCString(key);
  value = AsCString(value);
  // A line break in what is written makes more lines of it, as they would be
  // read from the file.
  auto breaks = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
  if (m_encoding == Encoding::kGbk) {
    std::string unused;
    auto fits = [&](std::string_view text) { return TextToGbk(text, *m_gbk, unused); };
    if (!fits(section) || !fits(key) || !fits(value)) BecomeUtf16();
  }
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
      if (text == line.text) return false;
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
