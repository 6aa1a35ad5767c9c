#include "dialogs/win/LinkTarget.h"

#include <shellapi.h>

HINSTANCE LinkTarget::Open() const {
  if (m_text.empty()) return nullptr;
  return ShellExecuteA(nullptr, "open", m_text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
