#pragma once

#include <QString>

#include "platform/dialogs.h"

class QWidget;

namespace korvane {

/// Modal message boxes over the program's window, with an OK button only, and the system beep.
class QtDialogs final : public Dialogs {
 public:
  /// `parent` may be null (no window yet); `title` is the title of every box.
  QtDialogs(QWidget* parent, const std::string& title);

  /// Shows `text` as plain text (a "<" is a character, not markup), CR LF as line breaks.
  void MessageBox(const std::string& text, MessageIcon icon) override;
  void Beep() override;

 private:
  QWidget* parent_;
  QString title_;
};

}  // namespace korvane
