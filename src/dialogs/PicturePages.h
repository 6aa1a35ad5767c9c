// The picture chooser's arithmetic: thirty pictures on six pages of five
// slots, page turns that wrap round, the texts a turn shows and the number
// that OK stores.
#pragma once

#include <array>
#include <optional>
#include <string>

inline constexpr int kPageCount = 6;
inline constexpr int kSlotsPerPage = 5;

// Page 1..6, slot 0..4 (top to bottom).
int PictureNumberAt(int page, int slot);  // 5p - 4 + s
int BitmapIdAt(int page, int slot);       // 255 + 5p + s, which is 259 + the picture number

// The GBK texts of a page: the dialog's caption after a turn and the label.
std::string PickerCaption(int page);
std::string PageLabel(int page);

// Everything a page turn puts on screen.
struct PageView {
  int page = 1;
  std::array<int, kSlotsPerPage> bitmapIds{};
  std::array<std::string, kSlotsPerPage> radioCaptions;  // the picture numbers in decimal
  std::string caption;
  std::string pageLabel;
};

PageView ViewOfPage(int page);

// The page on view; it starts at 1, as the dialog's template shows it.
class PicturePages {
 public:
  int Page() const { return m_page; }

  // Both ends wrap round: Next on page 6 gives page 1, Previous on 1 gives 6.
  PageView Next();
  PageView Previous();

  // The value OK writes as "ImgNumber": the selected slot's radio caption,
  // i.e. the number of the picture in that slot of the page on view; nothing
  // when no radio button is selected.
  std::optional<std::string> ValueToStore(std::optional<int> selectedSlot) const;

 private:
  int m_page = 1;
};
