// The bar's commands that run the settings dialogs and the About box.
#include "bar/win/SearchBarDlg.h"

#include "resource.h"

// The dialogs are not part of the program yet; their menu items do nothing.
void SearchBarDlg::BindDialogCommands() {}
