// Code page 936 for the native tests, from the C library's iconv: what the
// system's MultiByteToWideChar and WideCharToMultiByte give the program on Windows.
#pragma once

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "settings/CodePage.h"

class IconvCodePage : public CodePage {
 public:
  std::u16string ToUtf16(std::string_view ansi) const override {
    std::string bytes = Convert("UTF-16LE", "GBK", ansi, 1, std::string_view("?\0", 2));
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
  }
  std::string FromUtf16(std::u16string_view text) const override {
    std::string units;
    for (char16_t unit : text) {
      units.push_back(static_cast<char>(unit & 0xFF));
      units.push_back(static_cast<char>(unit >> 8));
    }
    return Convert("GBK", "UTF-16LE", units, 2, "?");
  }

 private:
  // Converts `in`; what cannot be converted becomes `replacement`, skipping
  // `step` bytes of the input.
  static std::string Convert(const char* to, const char* from, std::string_view in, size_t step,
                             std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    std::string out;
    char buffer[4096];
    char* input = const_cast<char*>(in.data());
    size_t left = in.size();
    while (left > 0) {
      char* output = buffer;
      size_t room = sizeof buffer;
      size_t result = iconv(cd, &input, &left, &output, &room);
      out.append(buffer, output - buffer);
      if (result == static_cast<size_t>(-1) && errno != E2BIG) {
        out.append(replacement);
        size_t skip = std::min(step, left);
        input += skip;
        left -= skip;
      }
    }
    iconv_close(cd);
    return out;
  }
};
