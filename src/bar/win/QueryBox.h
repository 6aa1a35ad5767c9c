// The bar's query box: a combo box whose list is filled from the history when
// first needed (LazyComboList), and which tells the bar when its text is set
// from outside the keyboard (another program, a screen reader, the bar
// itself), so that the Search button's caption follows the text however it
// came. Typing is told by the combo box itself (CBN_EDITCHANGE).
#pragma once

#include "framework/win/LazyComboList.h"

class QueryBox : public LazyComboList {
 public:
  // `textSet` is posted to the combo box's parent after WM_SETTEXT.
  QueryBox(std::function<void()> fill, UINT textSet) : LazyComboList(std::move(fill)) {
    OnMessage(WM_SETTEXT, [this, textSet](WPARAM, LPARAM) {
      PostMessageW(GetParent(Hwnd()), textSet, 0, 0);
      return Dialog::kNotHandled;
    });
  }
};
