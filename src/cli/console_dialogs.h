#pragma once

#include <string>

#include "platform/dialogs.h"

namespace korvane {

/// The handlers' message boxes on a console: each becomes one line on stderr, "korvane-cli: " and
/// the text with its line breaks turned into blanks. No beeps.
class ConsoleDialogs final : public Dialogs {
 public:
  void MessageBox(const std::string& text, MessageIcon icon) override;
  void Beep() override {}

  /// How many messages were shown, and the last one (one line): the cause of a failure.
  int Count() const { return count_; }
  const std::string& LastMessage() const { return last_; }

  /// The text as one line: CR, LF and runs of blanks become one blank, no blank at either end.
  static std::string OneLine(const std::string& text);

 private:
  int count_ = 0;
  std::string last_;
};

}  // namespace korvane
