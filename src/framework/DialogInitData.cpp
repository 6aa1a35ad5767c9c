#include "framework/DialogInitData.h"

#include <cstring>

namespace {

unsigned ReadWord(const unsigned char* p) { return p[0] | (p[1] << 8); }

size_t ReadDword(const unsigned char* p) {
  return static_cast<size_t>(p[0]) | (static_cast<size_t>(p[1]) << 8) |
         (static_cast<size_t>(p[2]) << 16) | (static_cast<size_t>(p[3]) << 24);
}

}  // namespace

std::vector<DialogInitRecord> ParseDialogInitData(const unsigned char* data, size_t size) {
  constexpr size_t kHeaderSize = 2 + 2 + 4;
  std::vector<DialogInitRecord> records;
  size_t at = 0;
  while (data && at + 2 <= size) {
    unsigned id = ReadWord(data + at);
    if (id == 0 || at + kHeaderSize > size) break;
    unsigned message = ReadWord(data + at + 2);
    size_t length = ReadDword(data + at + 4);
    at += kHeaderSize;
    if (length > size - at) break;
    const char* bytes = reinterpret_cast<const char*>(data + at);
    const void* zero = std::memchr(bytes, 0, length);
    size_t textLength = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : length;
    records.push_back({static_cast<int>(id), message, std::string(bytes, textLength)});
    at += length;
  }
  return records;
}
