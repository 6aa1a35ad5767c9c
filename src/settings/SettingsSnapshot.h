// The settings file read once and answered from memory.
//
// Whenever the program needs values (at start, after a dialog's OK, when the
// picture is reloaded) it reads the whole file once into a snapshot and takes
// every value of that moment from it; the snapshot goes when that is done, so
// a file edited by hand between two such moments is seen. A save applies all
// its writes to the file's content in memory and gives back the new content,
// to be written in one go.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/IniDocument.h"
#include "settings/ProfileStore.h"
#include "settings/SettingsFile.h"

class SettingsSnapshot {
 public:
  // `bytes`: the file's content; empty for a missing or unreadable file, which
  // gives every default. `gbk` must outlive the snapshot.
  SettingsSnapshot(std::string path, std::string_view bytes, const GbkCodec& gbk);
  SettingsSnapshot(const SettingsSnapshot&) = delete;
  SettingsSnapshot& operator=(const SettingsSnapshot&) = delete;

  // The file as it was read. Its writes change only the snapshot.
  const SettingsFile& File() const { return m_file; }
  // The file's content with the writes made through File(); whether they changed it.
  std::string Bytes() const { return m_document.Bytes(); }
  bool Changed() const { return m_store.changed; }

 private:
  // Every path names the one document.
  struct DocumentStore : ProfileStore {
    explicit DocumentStore(IniDocument& document) : document(&document) {}
    std::string Read(const std::string&, std::string_view section, std::string_view key,
                     std::string_view defaultValue) override {
      return document->Read(section, key, defaultValue);
    }
    void Write(const std::string&, std::string_view section, std::string_view key,
               std::string_view value) override {
      changed |= document->Write(section, key, value);
    }
    std::string ReadableCut(const std::string&, std::string_view value) override {
      return document->ReadableCut(value);
    }
    IniDocument* document;
    bool changed = false;
  };

  IniDocument m_document;
  DocumentStore m_store;
  SettingsFile m_file;
};

// What a save leaves in the file: `save` run on the content `bytes` of the
// file at `path` (empty when there is none yet). Nothing when the save changes
// nothing, which then needs no writing (and creates no file).
std::optional<std::string> SaveInMemory(const std::string& path, std::string_view bytes,
                                        const GbkCodec& gbk,
                                        const std::function<void(const SettingsFile&)>& save);
