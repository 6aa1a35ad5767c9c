#include "settings/SettingsSnapshot.h"

SettingsSnapshot::SettingsSnapshot(std::string path, std::string_view bytes, const GbkCodec& gbk)
    : m_document(bytes, gbk), m_store(m_document), m_file(SettingsFile::AtPath(std::move(path), m_store)) {}

std::optional<std::string> SaveInMemory(const std::string& path, std::string_view bytes,
                                        const GbkCodec& gbk,
                                        const std::function<void(const SettingsFile&)>& save) {
  SettingsSnapshot snapshot(path, bytes, gbk);
  save(snapshot.File());
  if (!snapshot.Changed()) return std::nullopt;
  return snapshot.Bytes();
}
