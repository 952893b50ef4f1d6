// The simulated board's command interpreters fed byte by byte: the boot firmware's programming
// mode, its HEX line checker, and the loaded board program. The input is the byte stream; it is
// fed as it is and once more with the count and checksum of every HEX record put right, so that
// records also reach the flash.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "board/board_memory.h"
#include "board/board_program.h"
#include "board/clock_count.h"
#include "common/hex_digits.h"
#include "board/hex_loader.h"
#include "board/programming_mode.h"
#include "board/sfr_bank.h"
#include "fuzz_check.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestStream = 4096;
constexpr double kClockMhz = 11.0592;
constexpr std::size_t kRecordOverhead = 5;  // count, address high and low, type, checksum

bool IsLineNoise(char byte) {
  return static_cast<unsigned char>(byte) >= 0x80;
}

bool IsClockCount(int address) {
  return address == SfrBank::kClockCountLow || address == SfrBank::kClockCountHigh;
}

int Field(std::string_view text, std::size_t start, std::size_t length) {
  const std::optional<int> value = HexValue(text.substr(start, length));
  Check(value.has_value(), "an accepted command's digits are hexadecimal");
  return *value;
}

/// The bytes of a record line (":" and hex pairs); nothing when it is not one.
std::optional<std::string> RecordBytes(std::string_view line) {
  if (line.empty() || line.front() != ':' || line.size() % 2 == 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 1; i < line.size(); i += 2) {
    const std::optional<int> value = HexValue(line.substr(i, 2));
    if (!value) return std::nullopt;
    bytes.push_back(static_cast<char>(*value));
  }
  if (bytes.size() < kRecordOverhead) return std::nullopt;
  return bytes;
}

std::uint8_t ByteAt(std::string_view bytes, std::size_t index) {
  return static_cast<std::uint8_t>(bytes[index]);
}

/// `line` with its record's count and checksum put right; unchanged when it is no record.
std::string SealedLine(std::string_view line) {
  std::optional<std::string> bytes = RecordBytes(line);
  if (!bytes || bytes->size() - kRecordOverhead > 0xFF) return std::string(line);
  (*bytes)[0] = static_cast<char>(bytes->size() - kRecordOverhead);
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < bytes->size(); ++i) sum += ByteAt(*bytes, i);
  bytes->back() = static_cast<char>((0x100u - (sum & 0xFFu)) & 0xFFu);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string sealed = ":";
  for (const char b : *bytes) {
    const auto value = static_cast<std::uint8_t>(b);
    sealed.push_back(kDigits[value >> 4]);
    sealed.push_back(kDigits[value & 0xFu]);
  }
  return sealed;
}

std::string Sealed(std::string_view stream) {
  std::string sealed;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = stream.find('\r', start);
    std::string_view line = stream.substr(start, end - start);
    const std::size_t line_feeds = std::min(line.find_first_not_of('\n'), line.size());
    sealed += line.substr(0, line_feeds);
    sealed += SealedLine(line.substr(line_feeds));
    if (end == std::string_view::npos) return sealed;
    sealed.push_back('\r');
    start = end + 1;
  }
}

/// Checks the HEX checker's answer to one byte; `line_length` counts the line's bytes so far.
void CheckHexLineReply(char byte, const InterpreterReply& reply, const BoardMemory& memory,
                       std::size_t& line_length) {
  if (byte != '\r') {
    Check(reply.bytes.empty() && !reply.completed, "only a CR ends a HEX line");
    if (byte != '\n' || line_length > 0) ++line_length;
    return;
  }
  const std::size_t length = line_length;
  line_length = 0;
  Check(reply.completed && reply.answered && reply.bytes.size() == 1 &&
            std::string_view(".TEX").find(reply.bytes.front()) != std::string_view::npos,
        "a HEX line is answered with one of \".\", \"T\", \"E\", \"X\"");
  if (length == 0 || length > HexLoader::kLineBufferSize) {
    Check(reply.bytes == "E", "an empty or overlong line is refused");
  }
  if (reply.bytes != ".") return;
  const std::optional<std::string> bytes = RecordBytes(reply.command);
  Check(bytes && ByteAt(*bytes, 3) == 0 && ByteAt(*bytes, 0) == bytes->size() - kRecordOverhead,
        "an accepted line is a data record");
  unsigned sum = 0;
  for (const char b : *bytes) sum += static_cast<std::uint8_t>(b);
  Check((sum & 0xFFu) == 0, "an accepted line's checksum is right");
  const int address = ByteAt(*bytes, 1) * 256 + ByteAt(*bytes, 2);
  for (std::size_t i = 0; i + kRecordOverhead < bytes->size(); ++i) {
    Check(memory.FlashByte(address + static_cast<int>(i)) == ByteAt(*bytes, 4 + i),
          "an accepted line's data is in the flash");
  }
}

void FeedHexLoader(std::string_view stream) {
  BoardMemory memory;
  HexLoader loader(memory);
  loader.Start();
  std::size_t line_length = 0;
  for (const char byte : stream) {
    const InterpreterReply reply = loader.Receive(byte);
    CheckHexLineReply(byte, reply, memory, line_length);
    Check(loader.Finished() == (reply.bytes == "T"), "the end record and only it finishes");
    if (loader.Finished()) loader.Start();
  }
}

/// What the programming mode's tracked registers should read; CA and CB are the clock count.
struct TrackedRegisters {
  std::array<std::optional<std::uint8_t>, 256> written{};
};

void CheckCommandAnswer(const std::string& command, std::string_view answer, BoardMemory& memory,
                        TrackedRegisters& registers, bool& flash_checked_erased) {
  const std::string_view letters = std::string_view(command).substr(0, 2);
  if (letters == "RR") {
    Check(answer.size() == 3, "a register read answers two digits and the prompt");
    const int address = Field(command, 2, 2);
    const int value = Field(answer, 0, 2);
    if (const auto written = registers.written[static_cast<std::size_t>(address)]) {
      Check(IsClockCount(address) || value == *written, "a register reads what was written");
    }
    return;
  }
  Check(
      answer == ">" || (command == "\r" && answer == "\n>") || (letters == "CW" && answer == "X>"),
      "a command is answered with the prompt");
  if (letters == "RW") {
    registers.written[static_cast<std::size_t>(Field(command, 2, 2))] =
        static_cast<std::uint8_t>(Field(command, 4, 2));
  } else if (letters == "CW") {
    const int address = Field(command, 2, 4);
    const auto value = static_cast<std::uint8_t>(Field(command, 6, 2));
    if (answer == ">") {
      Check(BoardMemory::IsConfigAddress(address) ? memory.ConfigByte(address) == value
                                                  : memory.FlashByte(address) == value,
            "a written byte reads back");
    } else {
      Check(!BoardMemory::IsConfigAddress(address) &&
                (!BoardMemory::IsFlashAddress(address) ||
                 memory.FlashByte(address) != BoardMemory::kErased),
            "\"X\" only for a byte outside the memories or a cell not erased");
    }
  } else if (command == "M0000" && !flash_checked_erased) {
    flash_checked_erased = true;
    Check(!memory.HasProgram(), "M0000 erases the flash");
  } else if (command == "M8000") {
    for (int address = BoardMemory::kConfigStart; address <= BoardMemory::kConfigEnd; ++address) {
      Check(memory.ConfigByte(address) == BoardMemory::kErased, "M8000 erases the configuration");
    }
  }
}

void FeedProgrammingMode(std::string_view stream) {
  BoardMemory memory;
  SfrBank sfrs(ClockCountForClock(kClockMhz));
  ProgrammingMode mode(memory, sfrs);
  mode.Start();
  TrackedRegisters registers;
  for (std::size_t address = 0; address < registers.written.size(); ++address) {
    registers.written[address] = 0;  // SFRs read 00 after the reset that started this mode
  }
  bool flash_checked_erased = false;
  bool in_transfer = false;
  bool dropping_line = false;
  std::size_t line_length = 0;
  std::size_t pending = 0;
  for (const char byte : stream) {
    const InterpreterReply reply = mode.Receive(byte);
    if (in_transfer) {
      CheckHexLineReply(byte, reply, memory, line_length);
      in_transfer = reply.bytes != "T";
      continue;
    }
    if (dropping_line) {
      dropping_line = byte != '\r';
      if (dropping_line) {
        Check(reply.bytes.empty() && !reply.completed, "the rest of a malformed line is dropped");
        continue;
      }
    }
    if (pending == 0 && byte == '\n') {
      Check(reply.bytes.empty() && !reply.completed, "a lone LF is ignored");
      continue;
    }
    Check(!reply.bytes.empty() && reply.bytes.front() == byte, "every command byte is echoed");
    if (!reply.completed) {
      Check(reply.bytes.size() == 1 && !reply.answered, "a command not yet complete is echoed");
      ++pending;
      continue;
    }
    pending = 0;
    const std::string_view answer = std::string_view(reply.bytes).substr(1);
    if (reply.command == "L") {
      Check(answer.empty() && !reply.answered, "the HEX transfer starts without a prompt");
      in_transfer = true;
      continue;
    }
    Check(reply.answered, "a complete command is answered");
    Check(reply.busy_ms == ((reply.command == "M0000" || reply.command == "M8000") ? 250 : 0),
          "only an erase keeps the chip busy");
    if (answer == "?\r\n") {
      dropping_line = true;
      continue;
    }
    Check(answer.find('?') == std::string_view::npos, "a malformed command gets no prompt");
    CheckCommandAnswer(reply.command, answer, memory, registers, flash_checked_erased);
  }
}

void FeedBoardProgram(std::string_view stream) {
  SfrBank sfrs(ClockCountForClock(kClockMhz));
  BoardProgram program(sfrs);
  std::optional<std::pair<int, std::uint8_t>> last_written;
  program.SetRegisterWritten(
      [&last_written](int address, std::uint8_t value) { last_written.emplace(address, value); });
  program.Start();
  Check(sfrs.Read(0xE6) == 0x80, "the program starts with the offset DAC at zero");
  bool dropping_line = false;
  for (const char byte : stream) {
    const bool was_streaming = program.Stream().has_value();
    last_written.reset();
    const InterpreterReply reply = program.Receive(byte);
    Check(reply.bytes.empty() || reply.bytes == "]" || reply.bytes == "?\r\n",
          "the board program answers only \"]\" and \"?\" CR LF");
    Check(program.AveragingCount() >= 0 && program.AveragingCount() <= 0xFFFF,
          "N is four hex digits");
    if (was_streaming) {
      Check(reply.bytes == (byte == '\r' ? "]" : ""), "a stream hears only CR");
      Check(program.Stream().has_value() == (byte != '\r'), "a CR ends the stream");
      continue;
    }
    if (dropping_line) {
      dropping_line = byte != '\r';
      Check(dropping_line ? reply.bytes.empty() : reply.bytes == "]",
            "the rest of a malformed line is dropped, its CR answered");
      continue;
    }
    if (reply.bytes == "?\r\n") {
      Check(reply.completed && reply.answered, "a malformed command is answered");
      dropping_line = true;
      continue;
    }
    Check(!IsLineNoise(byte), "a byte >= 80h is never part of a command");
    if (!reply.completed) continue;
    const std::string& command = reply.command;
    if (command.front() == 'U') {
      const auto kind = program.Stream();
      Check(reply.bytes.empty() && kind && static_cast<int>(*kind) == command[1] - '0',
            "\"U3\", \"U4\", \"U5\" start their stream without a prompt");
      continue;
    }
    Check(reply.bytes == "]", "a command is answered with \"]\"");
    if (command.front() == 'R') {
      const int address = Field(command, 2, 2);
      const auto value = static_cast<std::uint8_t>(Field(command, 4, 2));
      Check(last_written == std::make_pair(address, value), "the board is told of the write");
      Check(IsClockCount(address) || sfrs.Read(address) == value, "a written register holds");
    } else if (command.front() == 'N') {
      Check(program.AveragingCount() == Field(command, 1, 4), "N holds what was sent");
    }
  }
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size > kLongestStream) return -1;
  const std::string_view stream(reinterpret_cast<const char*>(data), size);
  const std::string sealed = Sealed(stream);
  for (const std::string_view bytes : {stream, std::string_view(sealed)}) {
    FeedProgrammingMode(bytes);
    FeedBoardProgram(bytes);
    FeedHexLoader(bytes);
  }
  return 0;
}
