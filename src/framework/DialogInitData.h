// A dialog's initialisation data: a resource of type 240 with the template's
// id, whose records fill list boxes and combo boxes when the dialog opens (the
// resource compiler's DLGINIT blocks). This is the reader of its bytes; the
// window layer sends the records (framework/win/DialogInitData.h).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One record: a message for control `controlId` with `data` as its text.
struct DialogInitRecord {
  int controlId;
  unsigned message;  // as stored: 0x0401 adds to a list box, 0x0403 to a combo box
  std::string data;  // the bytes up to the first zero
};

inline constexpr unsigned kDialogInitListAdd = 0x0401;   // 16-bit LB_ADDSTRING
inline constexpr unsigned kDialogInitComboAdd = 0x0403;  // 16-bit CB_ADDSTRING

// Records are a control id (16 bits), a message (16 bits), a byte count (32
// bits) and that many bytes; a zero control id ends the list. A record whose
// bytes would run past the end ends it too.
std::vector<DialogInitRecord> ParseDialogInitData(const unsigned char* data, size_t size);
