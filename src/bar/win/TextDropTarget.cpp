#include "bar/win/TextDropTarget.h"

#include <cstring>

#include "search/DropText.h"

TextDropTarget::TextDropTarget(std::function<void(const std::string&)> onText)
    : ComObject<IDropTarget>(IID_IDropTarget), m_onText(std::move(onText)) {}

HRESULT TextDropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = DROPEFFECT_COPY;
  return S_OK;
}

HRESULT TextDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = DROPEFFECT_COPY;
  return S_OK;
}

HRESULT TextDropTarget::DragLeave() { return S_OK; }

HRESULT TextDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  std::string query;
  FORMATETC format{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (data && SUCCEEDED(data->GetData(&format, &medium))) {
    if (const char* text = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
      // Up to the terminating zero, and never beyond the memory block.
      size_t size = GlobalSize(medium.hGlobal);
      query = DroppedQuery(std::string_view(text, strnlen(text, size)));
      GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
  }
  if (!query.empty()) m_onText(query);
  if (effect) *effect = DROPEFFECT_NONE;
  return S_OK;
}
