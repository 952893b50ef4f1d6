#pragma once

#include <string>

namespace korvane {

/// The per-user settings store: texts under application, section and key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string Read(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& default_value) = 0;
  /// Writes and makes it durable before returning (the program may end at once afterwards).
  virtual void Write(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& value) = 0;
};

}  // namespace korvane
