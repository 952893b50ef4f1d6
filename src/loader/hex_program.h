#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "loader/hex_file.h"

namespace korvane {

/// What makes a firmware file unfit to load. Each is found before the board is touched: a load
/// that stops halfway leaves the board erased, with no program at all.
enum class HexFault {
  kNone,
  kEmptyFile,        ///< no line at all
  kNotARecord,       ///< no ':' start, a character that is no hex digit, odd length, too short
  kLengthError,      ///< the record's length byte does not match its data
  kChecksumError,    ///< the record's bytes do not sum to zero
  kRecordTypeError,  ///< neither data (00) nor end (01): the boot firmware writes no other type
  kNoEndRecord,      ///< the file ends before its end record
};

/// One line taken as an Intel HEX record: its fault, and whether it is the end record.
struct HexRecordCheck {
  HexFault fault = HexFault::kNone;
  bool end_record = false;
};

HexRecordCheck CheckHexRecord(std::string_view line);

/// The lines of a firmware file that go to the board: every line up to and including the first
/// end record, as read. What follows the end record is never sent and not read.
struct HexProgram {
  std::vector<std::string> lines;
  HexFault fault = HexFault::kNone;
  /// The line (from 1) that holds the fault; 0 for a fault of the whole file.
  std::int32_t fault_line = 0;
};

/// Reads `file` to its end record, stopping at the first faulty line.
HexProgram ReadHexProgram(HexFile& file);

}  // namespace korvane
