#pragma once

#include "platform/settings_store.h"

namespace korvane {

/// The per-user settings through QSettings in the platform's native place (registry, plist or
/// an ini file under the user's configuration folder), organisation "Halvern", one store per
/// application, one group per section.
class QtSettingsStore final : public SettingsStore {
 public:
  /// A missing key or an unreadable store gives `default_value`; a damaged ini file gives what
  /// could be read of it.
  std::string Read(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& default_value) override;
  /// Written through to disk before returning; a store that cannot be written is left as it is.
  void Write(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override;
};

}  // namespace korvane
