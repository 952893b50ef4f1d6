#pragma once

#include <string>

#include "platform/process.h"

namespace korvane {

/// The running korvane-cli as the start-up sees it: any number may run (each on its own port),
/// and its command line is the window's three words made from the shared options.
class ConsoleProcess final : public Process {
 public:
  explicit ConsoleProcess(std::string words) : words_(std::move(words)) {}
  bool AnotherInstanceRunning() override { return false; }
  std::string CommandLineText() override { return words_; }
  /// Flushes the streams and ends with status 0 at once.
  [[noreturn]] void EndNow() override;

 private:
  std::string words_;
};

}  // namespace korvane
