#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/settings_store.h"

namespace korvane {

/// Settings held in memory, for tests of what reads the store.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::string Read(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& default_value) override {
    const auto it = values_.find({application, section, key});
    return it == values_.end() ? default_value : it->second;
  }
  void Write(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override {
    values_[{application, section, key}] = value;
  }

 private:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

}  // namespace korvane
