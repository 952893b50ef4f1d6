#pragma once

#include <string>

namespace korvane {

/// What one of the board's command interpreters does with one received byte.
struct InterpreterReply {
  /// Bytes to send back (echo, values, prompt, reply letter); may be empty.
  std::string bytes;
  /// True when the byte completed a command or HEX line that the interpreter answered or acted on.
  bool completed = false;
  /// True when the reply holds an answer (prompt or HEX reply letter); counts towards the
  /// answer limits of the board's fault injection.
  bool answered = false;
  /// The completed command's text, valid when `completed`.
  std::string command;
  /// The interpreter works this long on the command (an erase): the last byte of `bytes`, its
  /// prompt, comes only then, and it hears nothing meanwhile.
  int busy_ms = 0;
};

}  // namespace korvane
