#include "settings/StarterSettings.h"

#include "settings/EngineCatalogue.h"
#include "settings/TextList.h"

void WriteStarterSettings(const SettingsFile& file) {
  EngineCatalogue engines;
  engines.RestoreDefaults();
  engines.Save(file);
  for (const TextListKind* kind : {&kKeywordListKind, &kSiteListKind}) {
    TextList list(*kind);
    list.AddEntry(kind->entryDefault);
    list.Save(file);
  }
}
