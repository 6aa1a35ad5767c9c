// The engine settings dialog (template 151): the engine catalogue in a
// four-column list (order, name, search code, shortcut), with each engine's
// suggestion address in a field of its own, edited with Add, Modify, Delete,
// Up, Down and Restore defaults, and saved only on OK.
#pragma once

#include <string>

#include "framework/win/Dialog.h"
#include "framework/win/Handle.h"
#include "settings/EngineCatalogue.h"
#include "settings/SettingsFile.h"
#include "settings/win/WholeFileSave.h"

class EngineSettingsDlg : public Dialog {
 public:
  // `settingsPath`: the Quarrow.ini the bar runs on.
  EngineSettingsDlg(HWND owner, std::string settingsPath);

  // The catalogue's save on OK.
  const TriedSave& Saved() const { return m_saved; }

 private:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;
  void OnOK() override;

  LRESULT OnListClick();
  void OnAdd();
  void OnModify();
  void OnDelete();
  void OnRestoreDefaults();
  // The catalogue's refusal of a shortcut, told as the refusal of a name is.
  void ShowShortcutRefused(AddResult result, size_t position);
  void OnUp();
  void OnDown();

  void BuildImageList();
  void InsertRow(int row, const EngineEntry& entry, int image);
  // The name, search code and shortcut columns of `row`.
  void SetRowTexts(int row, const EngineEntry& entry);
  void RenumberRows(int from);
  // Takes the row at `from` out and puts it in again at `to`, with the texts
  // the catalogue's move left there (cut as the list cuts them); the selection
  // mark goes with it.
  void MoveRow(int from, int to);

  std::string m_settingsPath;  // Quarrow.ini, read and saved whole
  EngineCatalogue m_catalogue;  // row k of the list is entry k
  // The row of the last click on the list, or -1. Modify and Delete act on it.
  int m_currentRow = -1;
  TriedSave m_saved;

  std::string m_name;  // IDC_ENGINE_NAME
  std::string m_code;  // IDC_ENGINE_CODE
  std::string m_shortcut;  // IDC_ENGINE_SHORTCUT
  std::string m_suggest;   // IDC_ENGINE_SUGGEST
  HWND m_list = nullptr;
  ImageListHandle m_images;  // the list view shares it and does not destroy it
};
