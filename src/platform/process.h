#pragma once

#include <string>

namespace korvane {

/// Services of the running program.
class Process {
 public:
  virtual ~Process() = default;
  virtual bool AnotherInstanceRunning() = 0;
  /// Everything after the program's name, the words joined by single blanks as typed.
  virtual std::string CommandLineText() = 0;
  /// Closes every file the program has open and ends the program at once; does not return.
  [[noreturn]] virtual void EndNow() = 0;
};

}  // namespace korvane
