#include "loader/hex_program.h"

#include <optional>

#include "common/hex_digits.h"

namespace korvane {

namespace {

constexpr std::size_t kRecordOverhead = 5;  // length, address high and low, type, checksum
constexpr unsigned kDataRecord = 0x00;
constexpr unsigned kEndRecord = 0x01;

/// The bytes written as hex pairs in `pairs`; nothing when it is not such pairs.
std::optional<std::vector<unsigned>> PairBytes(std::string_view pairs) {
  if (pairs.size() % 2 != 0) return std::nullopt;
  std::vector<unsigned> bytes;
  for (std::size_t i = 0; i < pairs.size(); i += 2) {
    const auto byte = HexValue(pairs.substr(i, 2));
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<unsigned>(*byte));
  }
  return bytes;
}

}  // namespace

HexRecordCheck CheckHexRecord(std::string_view line) {
  if (line.empty() || line.front() != ':') return {HexFault::kNotARecord};
  const auto bytes = PairBytes(line.substr(1));
  if (!bytes || bytes->size() < kRecordOverhead) return {HexFault::kNotARecord};
  if ((*bytes)[0] != bytes->size() - kRecordOverhead) return {HexFault::kLengthError};
  unsigned sum = 0;
  for (const unsigned byte : *bytes) sum += byte;
  if (sum % 256 != 0) return {HexFault::kChecksumError};
  const unsigned type = (*bytes)[3];
  if (type != kDataRecord && type != kEndRecord) return {HexFault::kRecordTypeError};
  return {HexFault::kNone, type == kEndRecord};
}

HexProgram ReadHexProgram(HexFile& file) {
  HexProgram program;
  while (auto line = file.NextLine()) {
    const HexRecordCheck check = CheckHexRecord(*line);
    program.lines.push_back(std::move(*line));
    if (check.fault != HexFault::kNone) {
      program.fault = check.fault;
      program.fault_line = static_cast<std::int32_t>(program.lines.size());
      return program;
    }
    if (check.end_record) return program;
  }
  program.fault = program.lines.empty() ? HexFault::kEmptyFile : HexFault::kNoEndRecord;
  return program;
}

}  // namespace korvane
