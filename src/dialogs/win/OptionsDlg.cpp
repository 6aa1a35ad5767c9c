#include "dialogs/win/OptionsDlg.h"

#include "resource.h"

OptionsDlg::OptionsDlg(HWND owner, const OptionChoices& choices)
    : Dialog(IDD_OPTIONS, owner), m_choices(choices) {}

void OptionsDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Radio({IDC_BROWSER_IE, IDC_BROWSER_DEFAULT}, m_choices.browserChoice);
  exchange.Radio({IDC_PLACE_LEFT, IDC_PLACE_RIGHT}, m_choices.placementChoice);
  exchange.Radio({IDC_BACKGROUND_COLOR, IDC_BACKGROUND_IMAGE}, m_choices.backgroundChoice);
  exchange.Check(IDC_SUGGEST, m_choices.suggest);
}
