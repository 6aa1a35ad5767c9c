// The bar's commands that run the settings dialogs and the About box. Each
// dialog is a local of its handler and lives for its modal loop only, owned
// by the bar's window; the bar changes its menus, options or picture only
// when a dialog ends with OK. A dialog saves its own keys on OK;
// should that fail, the bar keeps its writes and saves them with its own.
#include "bar/win/SearchBarDlg.h"

#include "dialogs/OptionChoices.h"
#include "dialogs/win/AboutDlg.h"
#include "dialogs/win/EngineSettingsDlg.h"
#include "dialogs/win/KeySiteSettingsDlg.h"
#include "dialogs/win/OptionsDlg.h"
#include "dialogs/win/PicturePickerDlg.h"
#include "resource.h"

void SearchBarDlg::BindDialogCommands() {
  OnCommand(ID_EDIT_ENGINES, [this] {
    EngineSettingsDlg dialog(Hwnd(), m_settingsPath);
    if (dialog.DoModal() != IDOK) return;
    RebuildEngineMenu();
    TakeDialogSave(dialog.Saved(), [this] { RebuildEngineMenu(); });
  });

  // From the "增加" item of the keyword menu and of the site menu alike.
  OnCommand(ID_EDIT_KEYWORDS_SITES, [this] {
    KeySiteSettingsDlg dialog(Hwnd(), m_settingsPath);
    if (dialog.DoModal() != IDOK) return;
    RebuildKeywordAndSiteMenus();
    TakeDialogSave(dialog.Saved(), [this] { RebuildKeywordAndSiteMenus(); });
  });

  // The dialog edits the switches in memory; the bar saves them soon after.
  OnCommand(ID_OPTIONS, [this] {
    OptionsDlg dialog(Hwnd(), ChoicesForDialog(m_options));
    if (dialog.DoModal() != IDOK) return;
    const BarOptions chosen = OptionsAfterOk(m_options, dialog.Choices());
    const bool changed = chosen != m_options;
    m_options = chosen;
    if (changed) StateChanged();
    if (m_options.suggest != 1) StopSuggesting();
    InvalidateRect(Hwnd(), nullptr, TRUE);  // repaint in the chosen background at once
    UpdateData(true);
  });

  OnCommand(ID_CHOOSE_PICTURE, [this] {
    PicturePickerDlg dialog(Hwnd(), m_settingsPath);
    if (dialog.DoModal() != IDOK) return;
    ReloadBackgroundPicture();
    TakeDialogSave(dialog.Saved(), [this] { ReloadBackgroundPicture(); });
  });

  OnCommand(ID_ABOUT, [this] {
    AboutDlg dialog(Hwnd());
    dialog.DoModal();
  });
}
