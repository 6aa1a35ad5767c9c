#include "settings/win/SystemGbk.h"

#include <windows.h>

namespace {

constexpr UINT kGbk = 936;

class WindowsGbk : public GbkCodec {
 public:
  bool Decode(std::string_view bytes, std::u16string& text) const override {
    text.clear();
    if (bytes.empty()) return true;
    const int size = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return false;
    text.resize(static_cast<size_t>(length));
    return MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes.data(), size,
                               reinterpret_cast<wchar_t*>(text.data()), length) == length;
  }
  bool Encode(std::u16string_view text, std::string& bytes) const override {
    bytes.clear();
    if (text.empty()) return true;
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    // No best fit: a character GBK lacks must be seen as lacking, never
    // written as a look-alike or as '?'.
    BOOL lost = FALSE;
    int length = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost) return false;
    bytes.resize(static_cast<size_t>(length));
    return WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), length, nullptr, &lost) ==
               length &&
           !lost;
  }
};

}  // namespace

const GbkCodec& SystemGbk() {
  static const WindowsGbk gbk;
  return gbk;
}
