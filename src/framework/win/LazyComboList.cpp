#include "framework/win/LazyComboList.h"

LazyComboList::LazyComboList(std::function<void()> fill) : m_fill(std::move(fill)) {
  OnMessageRange(CB_GETEDITSEL, CB_MSGMAX, [this](WPARAM, LPARAM) {
    Fill();
    return Dialog::kNotHandled;
  });
}

// Marked filled first: the filling itself sends combo box messages.
void LazyComboList::Fill() {
  if (m_filled) return;
  m_filled = true;
  m_fill();
}
