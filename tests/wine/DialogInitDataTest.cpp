// The reader of dialog initialisation data (the records that fill the count
// lists of the keyword and site dialog), on hand-made blocks.
#include <windows.h>
#include <gtest/gtest.h>

#include "framework/win/DialogInitData.h"

namespace {

using Bytes = std::vector<unsigned char>;

// One record: control id, message, byte count, the bytes.
Bytes Record(unsigned id, unsigned message, const std::string& data, size_t count = std::string::npos) {
  if (count == std::string::npos) count = data.size();
  Bytes bytes{static_cast<unsigned char>(id), static_cast<unsigned char>(id >> 8),
              static_cast<unsigned char>(message), static_cast<unsigned char>(message >> 8),
              static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
              static_cast<unsigned char>(count >> 16), static_cast<unsigned char>(count >> 24)};
  for (char c : data) bytes.push_back(static_cast<unsigned char>(c));
  return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Bytes kEnd{0, 0};

}  // namespace

TEST(DialogInitData, ReadsRecordsUpToTheEndMarkOrAsFarAsTheyAreWhole) {
  struct Case {
    const char* name;
    Bytes data;
    std::vector<DialogInitRecord> records;
  } cases[] = {
      {"two records and the end mark",
       Join({Record(1056, 0x0403, std::string("5\0", 2)), Record(1001, 0x0403, std::string("15\0", 3)), kEnd}),
       {{1056, 0x0403, "5"}, {1001, 0x0403, "15"}}},
      {"records after the end mark are not read",
       Join({Record(7, 0x0401, std::string("a\0", 2)), kEnd, Record(8, 0x0401, std::string("b\0", 2))}),
       {{7, 0x0401, "a"}}},
      {"no end mark", Join({Record(7, 0x0401, std::string("a\0", 2))}), {{7, 0x0401, "a"}}},
      {"a text without its zero", Join({Record(7, 0x0403, "abc"), kEnd}), {{7, 0x0403, "abc"}}},
      {"the text ends at the first zero", Join({Record(7, 0x0403, std::string("ab\0cd", 5)), Record(9, 0x0403, "x")}),
       {{7, 0x0403, "ab"}, {9, 0x0403, "x"}}},
      {"an empty text", Join({Record(7, 0x0403, ""), kEnd}), {{7, 0x0403, ""}}},
      {"a count past the end", Join({Record(7, 0x0403, "ok"), Record(8, 0x0403, "short", 1000)}),
       {{7, 0x0403, "ok"}}},
      {"a count near 4 GB", Join({Record(8, 0x0403, "x", 0xFFFFFFF0u)}), {}},
      {"a cut header", Bytes{7, 0, 3, 4, 1}, {}},
      {"a lone byte", Bytes{7}, {}},
      {"nothing", Bytes{}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto records = ParseDialogInitData(c.data.data(), c.data.size());
    ASSERT_EQ(records.size(), c.records.size());
    for (size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].controlId, c.records[i].controlId);
      EXPECT_EQ(records[i].message, c.records[i].message);
      EXPECT_EQ(records[i].data, c.records[i].data);
    }
  }
  EXPECT_TRUE(ParseDialogInitData(nullptr, 10).empty());
}
