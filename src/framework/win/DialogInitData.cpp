#include "framework/win/DialogInitData.h"

void ExecuteDialogInitData(HWND dialog, int templateId) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(240));
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
    SendDlgItemMessageA(dialog, record.controlId, message, 0, reinterpret_cast<LPARAM>(record.data.c_str()));
  }
}
