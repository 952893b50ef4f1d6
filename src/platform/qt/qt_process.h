#pragma once

#include <QLockFile>

#include "platform/process.h"

namespace korvane {

/// The running program: single-instance check through a lock file, its command line, its end.
class QtProcess final : public Process {
 public:
  /// Locks "korvane-adc-demo.lock" in the temporary folder.
  QtProcess();
  /// Locks the given file instead (tests).
  explicit QtProcess(const std::string& lock_file_path);

  /// Takes the lock file on the first call and holds it while this object lives. A lock left by
  /// an instance that crashed is stale (its process is gone) and does not count; a live one
  /// counts however old it is.
  bool AnotherInstanceRunning() override;
  /// CommandLineTextFromArguments of QCoreApplication::arguments(), from which QApplication has
  /// already removed Qt's own options such as "-platform offscreen".
  std::string CommandLineText() override;
  /// Releases the lock file and flushes the C and C++ streams, then ends with exit code 0 without
  /// running destructors or further events.
  [[noreturn]] void EndNow() override;

 private:
  QLockFile lock_;
};

}  // namespace korvane
