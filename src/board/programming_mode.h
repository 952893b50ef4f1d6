#pragma once

#include <string>

#include "board/board_memory.h"
#include "board/hex_loader.h"
#include "board/interpreter_reply.h"
#include "board/sfr_bank.h"

namespace korvane {

/// The chip's serial programming mode (its boot firmware), prompt ">". Commands have no
/// terminator: their letters tell their length. Every command byte is echoed; the reply follows
/// the echo, then ">":
///   "RR" rr        SFR rr as two hex digits     "RW" rr vv     write SFR rr
///   "CP" aaaa      accepted                     "CW" aaaa vv   write a byte (see below)
///   "M0000"        erase the flash              "M8000"        erase the configuration memory
///   "E"            accepted                     CR alone       LF, then the prompt
///   "L"            Intel HEX transfer (HexLoader) until its end-of-file record; no echo, no prompt
/// "CW" writes addresses 8000..80FF to the configuration memory and all other addresses to the
/// flash; a byte that cannot be written (outside both, flash cell not erased) puts "X" before the
/// prompt. "M0000" and "M8000" take kEraseMs before their prompt. A malformed command (unknown
/// letters, a byte >= 80h, a non-hex digit, a CR inside a command, a command cut short by the
/// next one's letters, "M" with another address) has its offending byte echoed, then "?" CR LF
/// and no prompt: the rest of the line up to the next CR is dropped unechoed, and that CR is
/// answered like a lone CR. A lone LF (the end of a CR LF pair) is ignored without an echo.
class ProgrammingMode {
 public:
  ProgrammingMode(BoardMemory& memory, SfrBank& sfrs);

  /// How long an erase takes.
  static constexpr int kEraseMs = 250;

  /// Starts at the command state; returns the answer to the carriage return that set the bit rate.
  InterpreterReply Start();
  InterpreterReply Receive(char byte);
  /// True while an Intel HEX transfer ("L") takes the received bytes.
  bool InHexTransfer() const { return in_hex_transfer_; }

 private:
  InterpreterReply ReceiveCommandByte(char byte);
  /// The reply to a complete command, without its echo.
  std::string Execute(const std::string& command);
  std::string WriteCodeOrConfig(int address, int value);

  BoardMemory& memory_;
  SfrBank& sfrs_;
  HexLoader hex_loader_;
  std::string command_;
  bool in_hex_transfer_ = false;
  /// After a malformed command: the rest of its line is dropped up to the next CR.
  bool dropping_line_ = false;
};

}  // namespace korvane
