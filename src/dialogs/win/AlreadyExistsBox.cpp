#include "dialogs/win/AlreadyExistsBox.h"

#include <string>

#include "base/Text.h"
#include "base/Texts.h"
#include "framework/win/AppTitle.h"
#include "framework/win/WideText.h"

// The text as the list compared it: the add trims its leading blanks.
void ShowAlreadyExists(HWND dialog, std::string_view entered) {
  std::string message = std::string(TrimLeft(entered)) + std::string(kAlreadyExists);
  MessageBoxW(dialog, Wide(message).c_str(), Wide(AppTitle()).c_str(), MB_ICONINFORMATION | MB_OK);
}
