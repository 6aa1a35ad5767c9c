#pragma once

#include <windows.h>

#include "framework/DialogInitData.h"

// Adds the strings of the initialisation data of `templateId` (from the
// program's own resources) to the dialog's list boxes and combo boxes.
// Records of other messages are left alone. Without such data nothing happens.
void ExecuteDialogInitData(HWND dialog, int templateId);
