#include "ProfileCases.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "TestText.h"
#include "base/Unicode.h"

namespace fs = std::filesystem;

namespace {

// ---- The case format ------------------------------------------------------

// Words of an operation line: bare words, or "quoted" with escapes.
std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size() || line[i] == '#') break;
    if (line[i] == '"') {
      size_t j = ++i;
      while (j < line.size() && line[j] != '"') j += line[j] == '\\' ? 2 : 1;
      if (j >= line.size()) throw std::runtime_error("unclosed quote");
      words.push_back(UnescapeCaseText(line.substr(i, j - i)));
      i = j + 1;
    } else {
      size_t j = i;
      while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
      words.push_back(UnescapeCaseText(line.substr(i, j - i)));
      i = j;
    }
  }
  return words;
}

}  // namespace

Case ParseCase(const fs::path& file, const GbkCodec& gbk) {
  Case c;
  c.name = file.stem().string();
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    c.wide |= line == "wide";
  }
  // A case for the ANSI functions is written in GBK; its words are the
  // program's text of those bytes. A wide case is UTF-8 text throughout, and
  // its files are that text in UTF-16.
  if (!c.wide) {
    for (std::string& line : lines) line = GbkBytes(line, gbk);
  }
  auto text = [&](const std::string& word) { return c.wide ? word : GbkToText(word, gbk); };
  // A block: indented lines up to "end", each unescaped, without line ends of
  // its own (they are written \r\n), trailing blanks ignored.
  size_t i = 0;
  auto block = [&]() {
    std::string bytes;
    for (++i; i < lines.size() && lines[i] != "end"; ++i) {
      std::string_view body = lines[i];
      if (body.substr(0, 2) != "  ") throw std::runtime_error("block line without indent: " + lines[i]);
      body.remove_prefix(2);
      while (!body.empty() && (body.back() == ' ' || body.back() == '\t')) body.remove_suffix(1);
      bytes += UnescapeCaseText(body);
    }
    if (i >= lines.size()) throw std::runtime_error("block without end");
    return c.wide ? Utf16LeFile(bytes) : bytes;
  };
  auto expectation = [&](const std::vector<std::string>& w, size_t at) {
    if (w.size() == at + 2 && w[at] == "=>") return Expected{text(w[at + 1]), text(w[at + 1]), std::nullopt};
    if (w.size() == at + 5 && w[at] == "=>" && w[at + 1] == "windows" && w[at + 3] == "wine") {
      return Expected{text(w[at + 2]), text(w[at + 4]), std::nullopt};
    }
    if (w.size() == at + 4 && w[at] == "=>" && w[at + 2] == "ours") {
      return Expected{text(w[at + 1]), text(w[at + 1]), text(w[at + 3])};
    }
    throw std::runtime_error("expected => value, or => windows value wine value");
  };
  for (; i < lines.size(); ++i) {
    std::vector<std::string> w = Words(lines[i]);
    if (w.empty()) continue;
    const std::string& verb = w[0];
    if (verb == "wide") {
      continue;
    } else if (verb == "file" && w.size() == 1) {
      c.start = block();
    } else if (verb == "no-directory") {
      c.noDirectory = true;
    } else if (verb == "read-only") {
      c.readOnly = true;
    } else if (verb == "mend:") {
      c.mend = lines[i].substr(lines[i].find(':') + 1);
    } else if (verb == "differs:") {
      c.differs = lines[i].substr(lines[i].find(':') + 1);
    } else if (verb == "ours:" && w.size() >= 2 && w[1] == "wine") {
      c.oursFollowWine = true;
    } else if (verb == "result") {
      std::optional<std::string> bytes;
      size_t at = 1;
      std::string which = w.size() > 1 && (w[1] == "windows" || w[1] == "wine" || w[1] == "ours") ? w[at++] : "both";
      if (w.size() == at + 1 && w[at] == "none") {
        bytes = std::nullopt;
      } else if (w.size() == at) {
        bytes = block();
      } else {
        throw std::runtime_error("result [windows|wine] [none]");
      }
      if (which == "ours") {
        c.resultOurs = bytes;
        continue;
      }
      if (which != "wine") c.resultWindows = bytes;
      if (which != "windows") c.resultWine = bytes;
    } else if (verb == "read" || verb == "settings-read") {
      if (w.size() < 4) throw std::runtime_error("read section key default => value");
      Operation op{verb == "read" ? Operation::kRead : Operation::kSettingsRead, text(w[1]), text(w[2]),
                   text(w[3]), expectation(w, 4), int(i + 1)};
      c.operations.push_back(op);
    } else if ((verb == "write" || verb == "settings-write") && w.size() == 4) {
      Operation op{verb == "write" ? Operation::kWrite : Operation::kSettingsWrite, text(w[1]), text(w[2]),
                   text(w[3]), {}, int(i + 1)};
      c.operations.push_back(op);
    } else {
      throw std::runtime_error("unknown line " + std::to_string(i + 1) + ": " + lines[i]);
    }
  }
  bool marked = !c.differs.empty();
  bool split = c.resultWindows != c.resultWine;
  bool mended = false;
  for (const Operation& op : c.operations) {
    split |= op.expected.windows != op.expected.wine;
    mended |= op.expected.ours.has_value();
  }
  mended |= c.resultOurs.has_value();
  if (mended != !c.mend.empty()) throw std::runtime_error("an \"ours\" value needs a \"mend:\" reason, and the other way round");
  if (split && !marked) throw std::runtime_error("Windows and Wine differ without a \"differs:\" reason");
  if (marked && !split) throw std::runtime_error("marked \"differs\" but nothing differs");
  if (c.oursFollowWine && !marked) throw std::runtime_error("\"ours: wine\" without a \"differs:\" reason");
  return c;
}


std::vector<fs::path> CaseFiles(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().extension() == ".case") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> ApplyOperations(const Case& c, ProfileStore& store, const SettingsFile& settings) {
  const std::string& path = settings.Path();
  std::vector<std::string> reads;
  for (const Operation& op : c.operations) {
    switch (op.kind) {
      case Operation::kRead: reads.push_back(store.Read(path, op.section, op.key, op.text)); break;
      case Operation::kSettingsRead: reads.push_back(settings.ReadString(op.section, op.key, op.text)); break;
      case Operation::kWrite: store.Write(path, op.section, op.key, op.text); break;
      case Operation::kSettingsWrite: settings.WriteString(op.section, op.key, op.text); break;
    }
  }
  return reads;
}

bool RunsAsOneSave(const Case& c) {
  if (c.readOnly || c.noDirectory) return false;
  for (const Operation& op : c.operations) {
    if (op.kind == Operation::kWrite) return false;
  }
  return true;
}

std::string CaseName(const ::testing::TestParamInfo<fs::path>& info) {
  std::string name = info.param.stem().string();
  for (char& ch : name) {
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

std::string OursExpected(const Case& c, const Expected& e) {
  return e.ours ? *e.ours : c.oursFollowWine ? e.wine : e.windows;
}

const std::optional<std::optional<std::string>>& OursResult(const Case& c) {
  return c.resultOurs ? c.resultOurs : c.oursFollowWine ? c.resultWine : c.resultWindows;
}

std::string Show(const std::string& bytes) {
  if (bytes.size() > 300) {
    return std::to_string(bytes.size()) + " bytes: " + Show(bytes.substr(0, 100)) + " ... " +
           Show(bytes.substr(bytes.size() - 100));
  }
  std::ostringstream out;
  for (unsigned char c : bytes) {
    if (c == '\r') out << "\\r";
    else if (c == '\n') out << "\\n\n";
    else if (c == '\\') out << "\\\\";
    else if (c < 0x20 || c == 0x7F) out << "\\x" << std::hex << (c >> 4) << (c & 15) << std::dec;
    else out << c;
  }
  return out.str();
}

::testing::AssertionResult SameBytes(const std::optional<std::string>& actual,
                                     const std::optional<std::string>& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  auto show = [](const std::optional<std::string>& bytes) { return bytes ? Show(*bytes) : "(no file)"; };
  size_t at = 0;
  if (actual && expected) {
    while (at < actual->size() && at < expected->size() && (*actual)[at] == (*expected)[at]) ++at;
  }
  return ::testing::AssertionFailure() << "they differ from byte " << at << "\n  got:      "
                                       << show(actual) << "\n  expected: " << show(expected);
}

