#include "DragSource.h"

#include <ole2.h>

#include <cstring>

#include "BarHarness.h"
#include "framework/win/ComObject.h"

namespace {

// Offers the text in the formats it has.
class TextData : public ComObject<IDataObject> {
 public:
  explicit TextData(DragText text) : ComObject<IDataObject>(IID_IDataObject), m_text(std::move(text)) {}
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    const bool unicode = format->cfFormat == CF_UNICODETEXT;
    const void* bytes = unicode ? static_cast<const void*>(m_text.unicode->c_str()) : m_text.ansi->c_str();
    const size_t size = unicode ? (m_text.unicode->size() + 1) * sizeof(wchar_t) : m_text.ansi->size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    ++dataRequests;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    const bool offered = (format->cfFormat == CF_UNICODETEXT && m_text.unicode) ||
                         (format->cfFormat == CF_TEXT && m_text.ansi);
    return offered && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  int dataRequests = 0;

 private:
  DragText m_text;
};

// Drops after a few rounds of the drag loop, wherever the cursor is then.
class DropSoon : public ComObject<IDropSource> {
 public:
  DropSoon() : ComObject<IDropSource>(IID_IDropSource) {}
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    return ++m_rounds > 10 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    if (effect & DROPEFFECT_COPY) sawCopy = true;
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }
  bool sawCopy = false;

 private:
  int m_rounds = 0;
};

}  // namespace

DragText AsProgramsOfferIt(const std::string& utf8) {
  std::wstring wide = Wide(utf8);
  std::string ansi;
  if (!wide.empty()) {
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(size));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), size, nullptr, nullptr);
  }
  return {wide, ansi};
}

DropResult DropOnBar(HWND bar, const DragText& text) {
  RECT rect{};
  GetWindowRect(bar, &rect);
  SetCursorPos(rect.left + 12, rect.bottom - 12);
  TextData data(text);
  DropSoon source;
  DWORD effect = 0xFFFF;
  HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  return {result, effect, source.sawCopy, data.dataRequests};
}
