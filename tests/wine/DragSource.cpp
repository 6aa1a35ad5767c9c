#include "DragSource.h"

#include <ole2.h>

#include <cstring>

#include "framework/win/ComObject.h"

namespace {

// Offers one text as CF_TEXT, or nothing at all.
class TextData : public ComObject<IDataObject> {
 public:
  explicit TextData(std::string text, bool offerText = true)
      : ComObject<IDataObject>(IID_IDataObject), m_text(std::move(text)), m_offerText(offerText) {}
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, m_text.size() + 1);
    memcpy(GlobalLock(memory), m_text.c_str(), m_text.size() + 1);
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    ++dataRequests;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return m_offerText && format->cfFormat == CF_TEXT && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                                         : DV_E_FORMATETC;
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
  std::string m_text;
  bool m_offerText;
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

DropResult DropOnBar(HWND bar, const std::string& text, bool offerText) {
  RECT rect{};
  GetWindowRect(bar, &rect);
  SetCursorPos(rect.left + 12, rect.bottom - 12);
  TextData data(text, offerText);
  DropSoon source;
  DWORD effect = 0xFFFF;
  HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  return {result, effect, source.sawCopy, data.dataRequests};
}
