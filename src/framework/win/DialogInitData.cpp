#include "framework/win/DialogInitData.h"

#include "framework/win/WideText.h"

void ExecuteDialogInitData(HWND dialog, int templateId) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(240));
  if (!found) return;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return;
  auto records = ParseDialogInitData(static_cast<const unsigned char*>(data), SizeofResource(module, found));
  for (const DialogInitRecord& record : records) {
    UINT message = record.message == kDialogInitListAdd    ? LB_ADDSTRING
                   : record.message == kDialogInitComboAdd ? CB_ADDSTRING
                                                           : 0;
    if (!message) continue;
    // The resource compiler stores the texts as they are written: ASCII here.
    std::wstring text = Wide(record.data);
    SendDlgItemMessageW(dialog, record.controlId, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}
