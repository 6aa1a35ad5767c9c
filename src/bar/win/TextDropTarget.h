// Accepts text dragged from other programs onto the bar: the drop is searched
// for at once. The source is always told that nothing was dropped, so it
// never removes the dragged text, also on a move.
#pragma once

#include <functional>
#include <string>

#include "framework/win/ComObject.h"

// The text of a drop as the program's UTF-8: CF_UNICODETEXT, else CF_TEXT.
std::string DroppedText(IDataObject& data);

class TextDropTarget : public ComObject<IDropTarget> {
 public:
  // `onText` receives the query taken from a drop (never empty). While
  // `accepting` says no (the bar is disabled under one of its modal dialogs,
  // which OLE hands the bar's drops too) a drop is refused.
  TextDropTarget(std::function<void(const std::string&)> onText, std::function<bool()> accepting);

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  DWORD Effect() const { return m_accepting() ? DROPEFFECT_COPY : DROPEFFECT_NONE; }

  std::function<void(const std::string&)> m_onText;
  std::function<bool()> m_accepting;
};
