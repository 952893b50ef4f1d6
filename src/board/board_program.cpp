#include "board/board_program.h"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "board/converter_setup.h"
#include "common/hex_digits.h"

namespace korvane {

namespace {

constexpr std::string_view kPrompt = "]";
constexpr std::string_view kMalformed = "?\r\n";
constexpr int kReloadLowAddress = 0x8011;
constexpr int kReloadHighAddress = 0x8013;
constexpr int kMarkerLowAddress = 0x8010;
constexpr int kMarkerHighAddress = 0x8012;
constexpr std::uint8_t kMarkerLow = 0x4A;
constexpr std::uint8_t kMarkerHigh = 0x4B;
constexpr std::uint8_t kOffsetDacZero = 0x80;

/// Length of a command by its first letter; 0 when no command starts with it.
std::size_t CommandLength(char first) {
  switch (first) {
    case '\r':
      return 1;
    case 'H':
    case 'U':
      return 2;
    case 'N':
      return 5;
    case 'R':
      return 6;
    default:
      return 0;
  }
}

/// Whether `byte` may stand at `position` (>= 1) of a command starting with `first`.
bool FitsCommand(char first, std::size_t position, char byte) {
  switch (first) {
    case 'H':
      return byte == '1';
    case 'U':
      return byte >= '3' && byte <= '5';
    case 'R':
      return position == 1 ? byte == 'W' : HexDigitValue(byte).has_value();
    default:
      return HexDigitValue(byte).has_value();
  }
}

}  // namespace

int BoardProgram::LinkBitRate(const BoardMemory& memory, double clock_mhz) {
  if (memory.ConfigByte(kMarkerLowAddress) != kMarkerLow ||
      memory.ConfigByte(kMarkerHighAddress) != kMarkerHigh) {
    return kDefaultBitRate;
  }
  const int reload =
      memory.ConfigByte(kReloadHighAddress) * 256 + memory.ConfigByte(kReloadLowAddress);
  return static_cast<int>(std::lround(clock_mhz * 1e6 / (32.0 * (65536 - reload))));
}

void BoardProgram::Start() {
  command_.clear();
  averaging_count_ = 0;
  stream_.reset();
  dropping_line_ = false;
  sfrs_.Write(adc_register::kOffsetDac, kOffsetDacZero);
}

InterpreterReply BoardProgram::Receive(char byte) {
  if (stream_) return ReceiveDuringStream(byte);
  if (dropping_line_) {
    if (byte != '\r') return {};
    dropping_line_ = false;
  }
  if (command_.empty() && byte == '\n') return {};

  command_.push_back(byte);
  const std::size_t length = CommandLength(command_.front());
  if (length == 0 ||
      (command_.size() > 1 && !FitsCommand(command_.front(), command_.size() - 1, byte))) {
    InterpreterReply reply{std::string(kMalformed), true, true, command_};
    command_.clear();
    dropping_line_ = true;
    return reply;
  }
  if (command_.size() < length) return {};
  InterpreterReply reply = Execute(command_);
  command_.clear();
  return reply;
}

InterpreterReply BoardProgram::ReceiveDuringStream(char byte) {
  if (byte != '\r') return {};
  stream_.reset();
  return {std::string(kPrompt), true, true, "\r"};
}

InterpreterReply BoardProgram::Execute(const std::string& command) {
  const std::string_view text = command;
  switch (text.front()) {
    case 'R': {
      const int address = HexValue(text.substr(2, 2)).value_or(0);
      const auto value = static_cast<std::uint8_t>(HexValue(text.substr(4, 2)).value_or(0));
      sfrs_.Write(address, value);
      if (register_written_) register_written_(address, value);
      break;
    }
    case 'N':
      averaging_count_ = HexValue(text.substr(1, 4)).value_or(0);
      break;
    case 'U':
      stream_ = static_cast<StreamKind>(text[1] - '0');
      return {"", true, false, command};
    default:  // "H1", CR
      break;
  }
  return {std::string(kPrompt), true, true, command};
}

}  // namespace korvane
