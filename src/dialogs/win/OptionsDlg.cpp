#include "dialogs/win/OptionsDlg.h"

#include "resource.h"

OptionsDlg::OptionsDlg() : Dialog(IDD_OPTIONS) {}

void OptionsDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Radio({IDC_BROWSER_IE, IDC_BROWSER_DEFAULT}, m_browserChoice);
  exchange.Radio({IDC_PLACE_LEFT, IDC_PLACE_RIGHT}, m_placementChoice);
  exchange.Radio({IDC_BACKGROUND_COLOR, IDC_BACKGROUND_IMAGE}, m_backgroundChoice);
}
