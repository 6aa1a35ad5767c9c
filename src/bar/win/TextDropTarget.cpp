#include "bar/win/TextDropTarget.h"

#include <cwchar>

#include "framework/win/WideText.h"
#include "search/DropText.h"

namespace {

// The data of `format` as a block of memory, up to its terminating zero and
// never beyond the block; empty when the source does not offer it.
template <typename Char>
std::basic_string<Char> TextOf(IDataObject& data, CLIPFORMAT format) {
  std::basic_string<Char> text;
  FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data.GetData(&request, &medium))) return text;
  if (const auto* chars = static_cast<const Char*>(GlobalLock(medium.hGlobal))) {
    size_t capacity = GlobalSize(medium.hGlobal) / sizeof(Char);
    size_t length = 0;
    while (length < capacity && chars[length] != 0) ++length;
    text.assign(chars, length);
    GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
  return text;
}

// The code page of 8-bit text that came with a locale (CF_LOCALE), as the
// clipboard converts it; without one the format's own definition holds: the
// system's code page.
UINT CodePageOfText(IDataObject& data) {
  FORMATETC request{CF_LOCALE, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  UINT codePage = CP_ACP;
  if (SUCCEEDED(data.GetData(&request, &medium))) {
    if (const auto* locale = static_cast<const LCID*>(GlobalLock(medium.hGlobal))) {
      if (GlobalSize(medium.hGlobal) >= sizeof(LCID)) {
        UINT fromLocale = 0;
        if (GetLocaleInfoW(*locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                           reinterpret_cast<wchar_t*>(&fromLocale), sizeof fromLocale / sizeof(wchar_t))) {
          codePage = fromLocale;
        }
      }
      GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
  }
  return codePage;
}

}  // namespace

// UTF-16 first, which holds every character; 8-bit text only from a source
// that offers nothing else.
std::string DroppedText(IDataObject& data) {
  std::wstring text = TextOf<wchar_t>(data, CF_UNICODETEXT);
  if (!text.empty()) return Utf8(text);
  std::string bytes = TextOf<char>(data, CF_TEXT);
  if (bytes.empty()) return std::string();
  const UINT codePage = CodePageOfText(data);
  const int size = static_cast<int>(bytes.size());
  int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::string();
  text.resize(static_cast<size_t>(length));
  MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
  return Utf8(text);
}

TextDropTarget::TextDropTarget(std::function<void(const std::string&)> onText, std::function<bool()> accepting)
    : ComObject<IDropTarget>(IID_IDropTarget), m_onText(std::move(onText)), m_accepting(std::move(accepting)) {}

HRESULT TextDropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = Effect();
  return S_OK;
}

HRESULT TextDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = Effect();
  return S_OK;
}

HRESULT TextDropTarget::DragLeave() { return S_OK; }

HRESULT TextDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  std::string query = data && m_accepting() ? std::string(DroppedQuery(DroppedText(*data))) : std::string();
  if (!query.empty()) m_onText(query);
  if (effect) *effect = DROPEFFECT_NONE;
  return S_OK;
}
