// The background-picture chooser (template 298): thirty pictures, five to a
// page, with a numbered radio button beside each. OK stores the number of the
// selected picture as "ImgNumber".
#pragma once

#include <array>
#include <string>

#include "dialogs/PicturePages.h"
#include "framework/win/Dialog.h"
#include "framework/win/Handle.h"
#include "settings/win/WholeFileSave.h"

class PicturePickerDlg : public Dialog {
 public:
  // `settingsPath`: the Quarrow.ini the bar runs on.
  PicturePickerDlg(HWND owner, std::string settingsPath);

  // The picture number's save on OK (none tried when no picture is selected).
  const TriedSave& Saved() const { return m_saved; }

 private:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnDestroy() override;
  void ShowPage(const PageView& view);
  void ShowPictures(const PageView& view);
  // Puts `picture` on view in `slot`; the one shown until now.
  HBITMAP ReplacePicture(int slot, HBITMAP picture);

  std::string m_settingsPath;  // Quarrow.ini, where OK saves the picture's number
  UINT m_dpi = 96;  // the density the pictures are shown at
  PicturePages m_pages;  // page 1, as the template shows it
  // The pictures this dialog has put on view. The template's own ones, which
  // their controls loaded, it deletes when they leave the view.
  std::array<BitmapHandle, kSlotsPerPage> m_shown;
  TriedSave m_saved;
};
