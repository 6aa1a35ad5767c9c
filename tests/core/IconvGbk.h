// Code page 936 for the native tests, the benchmark and the fuzz target, from
// the C library's iconv: what MultiByteToWideChar and WideCharToMultiByte with
// code page 936 give the program on Windows, for every character the tests use.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

#include "settings/FileEncoding.h"

class IconvGbk : public GbkCodec {
 public:
  bool Decode(std::string_view bytes, std::u16string& text) const override {
    std::string units;
    if (!Convert("UTF-16LE", "CP936", bytes, units)) return false;
    text.resize(units.size() / 2);
    for (size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(units[2 * i]) |
                                      (static_cast<unsigned char>(units[2 * i + 1]) << 8));
    }
    return true;
  }
  bool Encode(std::u16string_view text, std::string& bytes) const override {
    std::string units;
    for (char16_t unit : text) {
      units.push_back(static_cast<char>(unit & 0xFF));
      units.push_back(static_cast<char>(unit >> 8));
    }
    return Convert("CP936", "UTF-16LE", units, bytes);
  }

 private:
  // All of `in`, or false at the first thing that does not convert.
  static bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    out.clear();
    char buffer[4096];
    char* input = const_cast<char*>(in.data());
    size_t left = in.size();
    bool ok = true;
    while (ok && left > 0) {
      char* output = buffer;
      size_t room = sizeof buffer;
      size_t result = iconv(cd, &input, &left, &output, &room);
      out.append(buffer, static_cast<size_t>(output - buffer));
      ok = result != static_cast<size_t>(-1) || errno == E2BIG;
    }
    iconv_close(cd);
    return ok;
  }
};
