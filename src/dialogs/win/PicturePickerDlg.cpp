#include "dialogs/win/PicturePickerDlg.h"

#include "base/Dpi.h"
#include "framework/win/DataExchange.h"
#include "framework/win/Dpi.h"
#include "resource.h"
#include "settings/Keys.h"
#include "settings/win/ReadSettings.h"
#include "settings/win/WholeFileSave.h"

namespace {

// Picture `id` of the program, drawn for 96 DPI, at the size `dpi` asks for
// (smoothed as it grows); the caller owns it.
HBITMAP LoadPicture(int id, UINT dpi) {
  BitmapHandle drawn(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
  BITMAP size{};
  if (!drawn || !GetObjectW(drawn.Get(), sizeof size, &size)) return nullptr;
  const int width = ScaleToDpi(size.bmWidth, static_cast<int>(dpi));
  const int height = ScaleToDpi(size.bmHeight, static_cast<int>(dpi));
  if (width == size.bmWidth && height == size.bmHeight) return drawn.Release();

  HDC screen = GetDC(nullptr);
  BitmapHandle scaled(CreateCompatibleBitmap(screen, width, height));
  DcHandle from(CreateCompatibleDC(screen)), to(CreateCompatibleDC(screen));
  ReleaseDC(nullptr, screen);
  if (!scaled || !from || !to) return drawn.Release();  // the drawn size rather than none
  SelectGuard source(from.Get(), drawn.Get()), target(to.Get(), scaled.Get());
  SetStretchBltMode(to.Get(), HALFTONE);
  SetBrushOrgEx(to.Get(), 0, 0, nullptr);  // as HALFTONE asks
  StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  return scaled.Release();
}

}  // namespace

PicturePickerDlg::PicturePickerDlg(HWND owner, std::string settingsPath)
    : Dialog(IDD_PICTUREPICKER, owner), m_settingsPath(std::move(settingsPath)) {
  OnCommand(IDC_NEXT_PAGE, [this] { ShowPage(m_pages.Next()); });
  OnCommand(IDC_PREVIOUS_PAGE, [this] { ShowPage(m_pages.Previous()); });
}

// The template's pictures are shown as drawn, for 96 DPI; on a denser screen
// they are put on view again at its size, so that they fill their places as
// the grown template expects.
BOOL PicturePickerDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  m_dpi = dpi::WindowDpi(Hwnd());
  if (m_dpi != kDefaultDpi) ShowPictures(ViewOfPage(m_pages.Page()));
  return TRUE;
}

// A turn leaves the radio buttons' selection alone: a selected button now
// stands for the picture in the same slot of the new page.
void PicturePickerDlg::ShowPage(const PageView& view) {
  for (int slot = 0; slot < kSlotsPerPage; ++slot) {
    SetText(Item(IDC_PICTURE_RADIO_FIRST + slot), view.radioCaptions[slot]);
  }
  ShowPictures(view);
  SetText(Hwnd(), view.caption);
  SetText(Item(IDC_PAGE_LABEL), view.pageLabel);
}

void PicturePickerDlg::ShowPictures(const PageView& view) {
  std::array<BitmapHandle, kSlotsPerPage> loaded;
  for (int slot = 0; slot < kSlotsPerPage; ++slot) {
    loaded[slot].Reset(LoadPicture(view.bitmapIds[slot], m_dpi));
  }
  for (int slot = 0; slot < kSlotsPerPage; ++slot) {
    // The control answers with the picture it showed until now: either one
    // of ours, released here as the new one takes its place, or the
    // template's own, which the control no longer holds: deleted here.
    HBITMAP previous = ReplacePicture(slot, loaded[slot].Get());
    if (previous && previous != m_shown[slot].Get()) DeleteObject(previous);
    m_shown[slot] = std::move(loaded[slot]);
  }
}

HBITMAP PicturePickerDlg::ReplacePicture(int slot, HBITMAP picture) {
  return reinterpret_cast<HBITMAP>(SendDlgItemMessageW(Hwnd(), IDC_PICTURE_FIRST + slot, STM_SETIMAGE, IMAGE_BITMAP,
                                                       reinterpret_cast<LPARAM>(picture)));
}

// A slot still showing the template's picture gives it up, and it is deleted:
// Wine's static control never deletes a picture it loaded from the template
// (five bitmaps, about half a megabyte, lost at every opening), and taken out
// of the control it is ours on Windows too.
void PicturePickerDlg::OnDestroy() {
  for (int slot = 0; slot < kSlotsPerPage; ++slot) {
    if (m_shown[slot]) continue;  // ours: BitmapHandle deletes it
    if (HBITMAP own = ReplacePicture(slot, nullptr)) DeleteObject(own);
  }
}

// The first selected radio button's slot names the picture; its number, as
// the button's caption shows it, is stored.
void PicturePickerDlg::OnOK() {
  std::optional<int> selected;
  for (int slot = 0; slot < kSlotsPerPage && !selected; ++slot) {
    if (IsDlgButtonChecked(Hwnd(), IDC_PICTURE_RADIO_FIRST + slot) == BST_CHECKED) selected = slot;
  }
  if (std::optional<std::string> number = m_pages.ValueToStore(selected)) {
    m_saved.writes = [number = *number](const SettingsFile& file) {
      file.WriteString(keys::kSetting, keys::kImgNumber, number);
    };
    m_saved.result = SaveWholeFile(m_settingsPath, m_saved.writes, WriteMode::kReplace);
  }
  Dialog::OnOK();
}
