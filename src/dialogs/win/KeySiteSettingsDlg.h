// The keyword and site settings dialog (template 152): the keyword list in
// the left half, the site list in the right half, each edited with Add,
// Modify, Delete, Up and Down, both saved only on OK. The two halves are one
// piece of code given two sets of controls.
#pragma once

#include <string>

#include "framework/win/Dialog.h"
#include "resource.h"
#include "settings/SettingsFile.h"
#include "settings/TextList.h"
#include "settings/win/WholeFileSave.h"

class KeySiteSettingsDlg : public Dialog {
 public:
  // `settingsPath`: the Quarrow.ini the bar runs on.
  KeySiteSettingsDlg(HWND owner, std::string settingsPath);

  // The two lists' save on OK.
  const TriedSave& Saved() const { return m_saved; }

  // The controls of one half, and the one way in which the halves differ.
  struct HalfControls {
    int list, edit, add, modify, remove, up, down;
    bool focusListAfterUp;  // after Down both halves focus their list box
  };
  // The twins. After Up only the site half gives its list box the focus.
  static constexpr HalfControls kKeywordHalf{IDC_KEYWORD_LIST,   IDC_KEYWORD_EDIT, IDC_KEYWORD_ADD,
                                             IDC_KEYWORD_MODIFY, IDC_KEYWORD_DELETE, IDC_KEYWORD_UP,
                                             IDC_KEYWORD_DOWN,   false};
  static constexpr HalfControls kSiteHalf{IDC_SITE_LIST,   IDC_SITE_EDIT, IDC_SITE_ADD, IDC_SITE_MODIFY,
                                          IDC_SITE_DELETE, IDC_SITE_UP,   IDC_SITE_DOWN, true};

 private:
  struct Half {
    const HalfControls& controls;
    TextList list;         // row k of the list box is entry k
    std::string editText;  // the half's edit box, exchanged
  };

  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;
  void OnOK() override;

  void BindHalf(Half& half);
  void LoadHalf(Half& half, const SettingsFile& file);
  void OnSelectionChange(Half& half);
  void OnAdd(Half& half);
  void OnModify(Half& half);
  void OnDelete(Half& half);
  void OnUp(Half& half);
  void OnDown(Half& half);
  // Takes the list box entry at `from` out and inserts `text` at `to`.
  void ReplaceRow(Half& half, int from, int to, const std::string& text);
  int Selection(const Half& half) const;

  std::string m_settingsPath;  // Quarrow.ini, read and saved whole
  Half m_keywords;
  Half m_sites;
  TriedSave m_saved;
};
