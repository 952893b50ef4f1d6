#include "cli/console_dialogs.h"

#include <cstdio>

namespace korvane {

void ConsoleDialogs::MessageBox(const std::string& text, MessageIcon /*icon*/) {
  last_ = OneLine(text);
  ++count_;
  std::fprintf(stderr, "korvane-cli: %s\n", last_.c_str());
}

std::string ConsoleDialogs::OneLine(const std::string& text) {
  std::string line;
  for (const char c : text) {
    const bool blank = c == ' ' || c == '\r' || c == '\n' || c == '\t';
    if (!blank) {
      line += c;
    } else if (!line.empty() && line.back() != ' ') {
      line += ' ';
    }
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace korvane
