// The simulated board's command interpreters fed byte by byte: the boot firmware's programming
// mode, its HEX line checker and the loaded board program. The input is fed as it is and once
// more with every record line's count and checksum put right, so that records reach the flash.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_program.h"
#include "board/clock_count.h"
#include "board/hex_loader.h"
#include "board/programming_mode.h"
#include "common/hex_digits.h"
#include "common/number_text.h"
#include "fuzz_check.h"
#include "loader/hex_program.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestStream = 4096;
constexpr double kClockMhz = 11.0592;

/// `line` with its record's count and checksum put right; unchanged when it is no record.
std::string SealedLine(std::string_view line) {
  if (line.size() < 11 || line.size() % 2 == 0 || line.front() != ':') return std::string(line);
  std::vector<int> bytes;
  for (std::size_t i = 1; i < line.size(); i += 2) {
    const std::optional<int> value = HexValue(line.substr(i, 2));
    if (!value) return std::string(line);
    bytes.push_back(*value);
  }
  if (bytes.size() - 5 > 0xFF) return std::string(line);
  bytes.front() = static_cast<int>(bytes.size() - 5);
  int sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
  bytes.back() = (0x100 - (sum & 0xFF)) & 0xFF;
  std::string sealed = ":";
  for (const int byte : bytes) sealed += Hex2(byte);
  return sealed;
}

std::string Sealed(std::string_view stream) {
  std::string sealed;
  for (std::size_t start = 0;;) {
    const std::size_t end = stream.find('\r', start);
    const std::string_view line = stream.substr(start, end - start);
    const std::size_t line_feeds = std::min(line.find_first_not_of('\n'), line.size());
    sealed += line.substr(0, line_feeds);
    sealed += SealedLine(line.substr(line_feeds));
    if (end == std::string_view::npos) return sealed;
    sealed.push_back('\r');
    start = end + 1;
  }
}

/// The board's answer to a HEX line agrees with the program's own check of the line it sends.
void CheckHexLine(char byte, const InterpreterReply& reply, const BoardMemory& memory) {
  if (byte != '\r') {
    Check(reply.bytes.empty() && !reply.completed, "only a CR ends a HEX line");
    return;
  }
  Check(reply.completed && reply.bytes.size() == 1 &&
            std::string_view(".TEX").find(reply.bytes.front()) != std::string_view::npos,
        "a HEX line is answered with one of \".\", \"T\", \"E\", \"X\"");
  if (reply.command.size() >= HexLoader::kLineBufferSize) return;
  const HexRecordCheck check = CheckHexRecord(reply.command);
  const char answer = reply.bytes.front();
  Check((answer == 'E') ==
            (check.fault != HexFault::kNone && check.fault != HexFault::kRecordTypeError),
        "the board refuses a line exactly when the program's check finds it faulty");
  Check((answer == 'T') == (check.fault == HexFault::kNone && check.end_record),
        "only the end record finishes");
  if (answer != '.') return;
  const int address = *HexValue(std::string_view(reply.command).substr(3, 4));
  for (std::size_t i = 9; i + 2 < reply.command.size(); i += 2) {
    Check(memory.FlashByte(address + static_cast<int>(i - 9) / 2) ==
              *HexValue(std::string_view(reply.command).substr(i, 2)),
          "an accepted line's data is in the flash");
  }
}

void FeedHexLoader(std::string_view stream) {
  BoardMemory memory;
  HexLoader loader(memory);
  loader.Start();
  for (const char byte : stream) {
    CheckHexLine(byte, loader.Receive(byte), memory);
    if (loader.Finished()) loader.Start();
  }
}

void FeedProgrammingMode(std::string_view stream) {
  BoardMemory memory;
  SfrBank sfrs(ClockCountForClock(kClockMhz));
  ProgrammingMode mode(memory, sfrs);
  mode.Start();
  for (const char byte : stream) {
    const bool in_transfer = mode.InHexTransfer();
    const InterpreterReply reply = mode.Receive(byte);
    if (in_transfer) {
      CheckHexLine(byte, reply, memory);
      continue;
    }
    if (!reply.completed) {
      Check(reply.bytes.size() <= 1 && !reply.answered, "an unfinished command is only echoed");
      continue;
    }
    const std::string& answer = reply.bytes;
    Check(reply.command == "L" || answer.ends_with(">") || answer.ends_with("?\r\n"),
          "a complete command ends with the prompt or \"?\" CR LF");
    Check((reply.busy_ms > 0) == (reply.command == "M0000" || reply.command == "M8000") ||
              answer.ends_with("?\r\n"),
          "only an erase keeps the chip busy");
    if (reply.command.starts_with("CW") && answer.ends_with(">") && !answer.ends_with("X>")) {
      const int address = *HexValue(std::string_view(reply.command).substr(2, 4));
      const int value = *HexValue(std::string_view(reply.command).substr(6, 2));
      Check((BoardMemory::IsConfigAddress(address) ? memory.ConfigByte(address)
                                                   : memory.FlashByte(address)) == value,
            "a written byte reads back");
    }
  }
}

void FeedBoardProgram(std::string_view stream) {
  SfrBank sfrs(ClockCountForClock(kClockMhz));
  BoardProgram program(sfrs);
  program.Start();
  for (const char byte : stream) {
    const bool was_streaming = program.Stream().has_value();
    const InterpreterReply reply = program.Receive(byte);
    Check(reply.bytes.empty() || reply.bytes == "]" || reply.bytes == "?\r\n",
          "the board program answers only \"]\" and \"?\" CR LF");
    if (was_streaming) {
      Check(reply.bytes == (byte == '\r' ? "]" : "") &&
                program.Stream().has_value() == (byte != '\r'),
            "a stream hears only CR, which ends it");
    } else if (reply.completed && reply.command.starts_with("N") && reply.bytes == "]") {
      Check(program.AveragingCount() == HexValue(std::string_view(reply.command).substr(1)),
            "N holds what was sent");
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
