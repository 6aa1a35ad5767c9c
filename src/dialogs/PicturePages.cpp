#include "dialogs/PicturePages.h"

#include "base/Text.h"
#include "base/Texts.h"

int PictureNumberAt(int page, int slot) { return 5 * page - 4 + slot; }

int BitmapIdAt(int page, int slot) { return 255 + 5 * page + slot; }

namespace {

// The page number in place of the format's %d (no printf: it would bring
// the C library's whole formatter into the program for this one number).
std::string FormatPage(std::string_view format, int page) {
  std::string text(format);
  size_t at = text.find("%d");
  return at == std::string::npos ? text : text.replace(at, 2, FormatInt(page));
}

}  // namespace

std::string PickerCaption(int page) { return FormatPage(kPickerCaptionFormat, page); }

std::string PageLabel(int page) { return FormatPage(kPickerPageLabelFormat, page); }

PageView ViewOfPage(int page) {
  PageView view;
  view.page = page;
  for (int slot = 0; slot < kSlotsPerPage; ++slot) {
    view.bitmapIds[slot] = BitmapIdAt(page, slot);
    view.radioCaptions[slot] = FormatInt(PictureNumberAt(page, slot));
  }
  view.caption = PickerCaption(page);
  view.pageLabel = PageLabel(page);
  return view;
}

PageView PicturePages::Next() {
  m_page = m_page >= kPageCount ? 1 : m_page + 1;
  return ViewOfPage(m_page);
}

PageView PicturePages::Previous() {
  m_page = m_page <= 1 ? kPageCount : m_page - 1;
  return ViewOfPage(m_page);
}

std::optional<std::string> PicturePages::ValueToStore(std::optional<int> selectedSlot) const {
  if (!selectedSlot || *selectedSlot < 0 || *selectedSlot >= kSlotsPerPage) return std::nullopt;
  return FormatInt(PictureNumberAt(m_page, *selectedSlot));
}
