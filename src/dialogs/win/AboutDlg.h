// The About box (template 100): the program's icon and version, a link to
// the author's page and the contact address.
#pragma once

#include <string>

#include "dialogs/win/HyperLink.h"
#include "framework/win/Dialog.h"

class AboutDlg : public Dialog {
 public:
  explicit AboutDlg(HWND owner);

 private:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;

  HyperLink m_homePageLink;      // IDC_HOME_PAGE_LINK, once the dialog exists
  std::string m_contactAddress;  // IDC_CONTACT_ADDRESS, read-only
};
