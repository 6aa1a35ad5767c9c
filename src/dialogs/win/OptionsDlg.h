// The options dialog (template 139): three radio groups, exchanged as the
// index of the selected button (-1 when none is), and the suggestions' check box. It opens with the choices it
// is given and, after OK, gives back the ones made.
#pragma once

#include "dialogs/OptionChoices.h"
#include "framework/win/Dialog.h"

class OptionsDlg : public Dialog {
 public:
  OptionsDlg(HWND owner, const OptionChoices& choices);

  const OptionChoices& Choices() const { return m_choices; }

 private:
  void DoDataExchange(DataExchange& exchange) override;

  OptionChoices m_choices;
};
