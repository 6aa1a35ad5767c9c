#include "dialogs/win/AlreadyExistsBox.h"

#include <string>

#include "base/Text.h"
#include "base/Texts.h"
#include "framework/win/AppTitle.h"

// The text as the list compared it: the add trims its leading blanks.
void ShowAlreadyExists(HWND dialog, std::string_view entered) {
  std::string message = std::string(TrimLeft(entered)) + std::string(kAlreadyExists);
  MessageBoxA(dialog, message.c_str(), AppTitle().c_str(), MB_ICONINFORMATION | MB_OK);
}
