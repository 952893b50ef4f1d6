#pragma once

#include <string>

namespace korvane {

enum class MessageIcon { kNone, kCritical };

/// Modal message boxes with an OK button, titled with the program's title, and the beeper.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  /// Returns when the user has dismissed the box. Lines are joined by CR LF.
  virtual void MessageBox(const std::string& text, MessageIcon icon) = 0;
  virtual void Beep() = 0;
};

}  // namespace korvane
