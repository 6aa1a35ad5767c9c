#include "dialogs/win/AboutDlg.h"

#include "base/Texts.h"
#include "resource.h"

AboutDlg::AboutDlg(HWND owner)
    : Dialog(IDD_ABOUT, owner), m_homePageLink(kHomePageUrl), m_contactAddress(kContactAddress) {}

void AboutDlg::DoDataExchange(DataExchange& exchange) {
  exchange.Text(IDC_CONTACT_ADDRESS, m_contactAddress);
}

BOOL AboutDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  m_homePageLink.SubclassDlgItem(IDC_HOME_PAGE_LINK, Hwnd());
  return TRUE;
}
