#include "board/programming_mode.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/hex_digits.h"
#include "common/number_text.h"

namespace korvane {

namespace {

constexpr char kPrompt = '>';
constexpr std::string_view kMalformed = "?\r\n";

/// Length of the command that starts with `text`: 0 while its letters do not tell yet, nothing
/// when no command starts so.
std::optional<std::size_t> CommandLength(std::string_view text) {
  switch (text.front()) {
    case '\r':
    case 'E':
    case 'L':
      return 1;
    case 'M':
      return 5;
    case 'R':
    case 'C':
      break;
    default:
      return std::nullopt;
  }
  if (text.size() < 2) return 0;
  const std::string_view letters = text.substr(0, 2);
  if (letters == "RR") return 4;
  if (letters == "RW" || letters == "CP") return 6;
  if (letters == "CW") return 8;
  return std::nullopt;
}

/// Number of letters before a command's hex digits.
std::size_t LetterCount(std::string_view command) {
  return command.front() == 'M' ? 1 : 2;
}

int HexField(std::string_view command, std::size_t start, std::size_t length) {
  return HexValue(command.substr(start, length)).value_or(0);
}

}  // namespace

ProgrammingMode::ProgrammingMode(BoardMemory& memory, SfrBank& sfrs)
    : memory_(memory), sfrs_(sfrs), hex_loader_(memory) {}

InterpreterReply ProgrammingMode::Start() {
  command_.clear();
  in_hex_transfer_ = false;
  dropping_line_ = false;
  return {"\r\n>", true, true, "\r"};
}

InterpreterReply ProgrammingMode::Receive(char byte) {
  if (!in_hex_transfer_) return ReceiveCommandByte(byte);
  InterpreterReply reply = hex_loader_.Receive(byte);
  if (hex_loader_.Finished()) in_hex_transfer_ = false;
  return reply;
}

InterpreterReply ProgrammingMode::ReceiveCommandByte(char byte) {
  if (dropping_line_) {
    if (byte != '\r') return {};
    dropping_line_ = false;
  }
  if (command_.empty() && byte == '\n') return {};
  const std::string echo(1, byte);

  command_.push_back(byte);
  const auto length = CommandLength(command_);
  const bool bad_digit = length && *length > 0 && command_.size() > LetterCount(command_) &&
                         !HexDigitValue(byte).has_value();
  if (!length || bad_digit) {
    InterpreterReply reply{echo + std::string(kMalformed), true, true, command_};
    command_.clear();
    dropping_line_ = true;
    return reply;
  }
  if (*length == 0 || command_.size() < *length) return {echo, false, false, ""};

  InterpreterReply reply{echo + Execute(command_), true, true, command_};
  if (command_ == "L") reply.answered = false;
  if (command_ == "M0000" || command_ == "M8000") reply.busy_ms = kEraseMs;
  if (reply.bytes.ends_with(kMalformed)) dropping_line_ = true;
  command_.clear();
  return reply;
}

std::string ProgrammingMode::Execute(const std::string& command) {
  const std::string_view letters = std::string_view(command).substr(0, LetterCount(command));
  if (command == "\r") return std::string("\n") + kPrompt;
  if (command == "E") return std::string(1, kPrompt);
  if (command == "L") {
    in_hex_transfer_ = true;
    hex_loader_.Start();
    return "";
  }
  if (letters == "RR") return Hex2(sfrs_.Read(HexField(command, 2, 2))) + kPrompt;
  if (letters == "RW") {
    sfrs_.Write(HexField(command, 2, 2), static_cast<std::uint8_t>(HexField(command, 4, 2)));
    return std::string(1, kPrompt);
  }
  if (letters == "CP") return std::string(1, kPrompt);
  if (letters == "CW") return WriteCodeOrConfig(HexField(command, 2, 4), HexField(command, 6, 2));
  if (command == "M0000") {
    memory_.EraseFlash();
    return std::string(1, kPrompt);
  }
  if (command == "M8000") {
    memory_.EraseConfig();
    return std::string(1, kPrompt);
  }
  return std::string(kMalformed);
}

std::string ProgrammingMode::WriteCodeOrConfig(int address, int value) {
  const auto byte = static_cast<std::uint8_t>(value);
  const bool written = BoardMemory::IsConfigAddress(address) ? memory_.WriteConfig(address, byte)
                                                             : memory_.WriteFlash(address, byte);
  return written ? std::string(1, kPrompt) : std::string("X") + kPrompt;
}

}  // namespace korvane
