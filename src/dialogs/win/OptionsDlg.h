// The options dialog (template 139): three radio groups, exchanged as the
// index of the selected button (-1 when none is). The opener sets the
// choices before showing it and reads them back after OK.
#pragma once

#include "framework/win/Dialog.h"

class OptionsDlg : public Dialog {
 public:
  OptionsDlg();

  int m_browserChoice = -1;     // 0 "IE", 1 "默认浏览器"
  int m_placementChoice = -1;   // 0 bottom-left, 1 bottom-right
  int m_backgroundChoice = -1;  // 0 colour, 1 picture

 private:
  void DoDataExchange(DataExchange& exchange) override;
};
