// A combo box whose list is filled only when it is first needed, so that a
// long list costs nothing before the window's first frame. The first combo
// box message of any kind fills it, whoever sends it: this program, another
// one, a screen reader, or the combo box's own edit (it asks the combo box
// before a key moves the selection). The owner calls Fill itself at the
// first input that may reach the list (a key, a press, the mouse wheel).
#pragma once

#include <functional>

#include "framework/win/SubclassedWindow.h"

class LazyComboList : public SubclassedWindow {
 public:
  explicit LazyComboList(std::function<void()> fill);

  // Fills the list once; later calls do nothing.
  void Fill();
  bool Filled() const { return m_filled; }

 private:
  std::function<void()> m_fill;
  bool m_filled = false;
};
