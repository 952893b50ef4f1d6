#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "board/board_memory.h"
#include "board/interpreter_reply.h"

namespace korvane {

/// The boot firmware's Intel HEX transfer: takes the bytes of the lines, checks each record and
/// programs its data into the flash. Replies one letter per line:
///   "." data record programmed,
///   "T" end-of-file record (the transfer is over),
///   "E" record syntax, length or checksum error, an empty line, or a line longer than the line
///       buffer,
///   "X" a byte that cannot be written: address outside the flash, cell not erased, or a record
///       type other than data and end of file. Nothing of such a line is written.
/// A line ends at CR. A LF at the start of a line (the rest of a CR LF pair) is skipped; one
/// inside a line is a character of it, which spoils the record.
class HexLoader {
 public:
  /// Longer lines are refused with "E"; their excess bytes are counted, never stored.
  static constexpr std::size_t kLineBufferSize = 600;

  explicit HexLoader(BoardMemory& memory) : memory_(memory) {}

  /// Starts a new transfer with an empty line buffer.
  void Start();
  InterpreterReply Receive(char byte);
  /// True after the end-of-file record was answered with "T".
  bool Finished() const { return finished_; }

 private:
  char ProgramLine(std::string_view line);
  char ProgramData(int address, std::string_view data);

  BoardMemory& memory_;
  std::string line_;
  bool line_overflowed_ = false;
  bool finished_ = false;
};

}  // namespace korvane
