#include "board/hex_loader.h"

#include <cstdint>
#include <optional>

#include "common/hex_digits.h"

namespace korvane {

namespace {

constexpr char kAccepted = '.';
constexpr char kEndOfFile = 'T';
constexpr char kRecordError = 'E';
constexpr char kNotWritten = 'X';
constexpr std::size_t kRecordOverhead = 5;  // count, address high and low, type, checksum
constexpr std::uint8_t kDataRecord = 0x00;
constexpr std::uint8_t kEndOfFileRecord = 0x01;

/// The record's bytes from the hex pairs after ':'; nothing when a pair is not hexadecimal.
std::optional<std::string> RecordBytes(std::string_view pairs) {
  if (pairs.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < pairs.size(); i += 2) {
    const auto value = HexValue(pairs.substr(i, 2));
    if (!value) return std::nullopt;
    bytes.push_back(static_cast<char>(*value));
  }
  return bytes;
}

std::uint8_t ByteAt(std::string_view bytes, std::size_t index) {
  return static_cast<std::uint8_t>(bytes[index]);
}

}  // namespace

void HexLoader::Start() {
  line_.clear();
  line_overflowed_ = false;
  finished_ = false;
}

InterpreterReply HexLoader::Receive(char byte) {
  if (byte == '\n' && line_.empty() && !line_overflowed_) return {};  // the LF of CR LF
  if (byte != '\r') {
    if (line_.size() < kLineBufferSize) {
      line_.push_back(byte);
    } else {
      line_overflowed_ = true;
    }
    return {};
  }
  const char reply = line_overflowed_ || line_.empty() ? kRecordError : ProgramLine(line_);
  finished_ = reply == kEndOfFile;
  InterpreterReply result{std::string(1, reply), true, true, line_};
  line_.clear();
  line_overflowed_ = false;
  return result;
}

char HexLoader::ProgramLine(std::string_view line) {
  if (line.front() != ':') return kRecordError;
  const auto bytes = RecordBytes(line.substr(1));
  if (!bytes || bytes->size() < kRecordOverhead) return kRecordError;
  if (std::size_t{ByteAt(*bytes, 0)} != bytes->size() - kRecordOverhead) return kRecordError;
  unsigned sum = 0;
  for (const char b : *bytes) sum += static_cast<std::uint8_t>(b);
  if ((sum & 0xFFu) != 0) return kRecordError;

  const int address = ByteAt(*bytes, 1) * 256 + ByteAt(*bytes, 2);
  const std::uint8_t type = ByteAt(*bytes, 3);
  const std::string_view data = std::string_view(*bytes).substr(4, bytes->size() - kRecordOverhead);
  if (type == kEndOfFileRecord) return kEndOfFile;
  if (type != kDataRecord) return kNotWritten;
  return ProgramData(address, data);
}

char HexLoader::ProgramData(int address, std::string_view data) {
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (!memory_.CanWriteFlash(address + static_cast<int>(i))) return kNotWritten;
  }
  for (std::size_t i = 0; i < data.size(); ++i) {
    memory_.WriteFlash(address + static_cast<int>(i), ByteAt(data, i));
  }
  return kAccepted;
}

}  // namespace korvane
