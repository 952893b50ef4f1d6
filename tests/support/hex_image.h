#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

/// One Intel HEX record (":" count address type data checksum, upper-case, no line end).
std::string HexRecord(std::uint8_t type, std::uint16_t address,
                      const std::vector<std::uint8_t>& data);

/// Data records holding `bytes` from `address` on, `bytes_per_line` per record, then the
/// end-of-file record. Lines carry no line ends.
std::vector<std::string> HexImageLines(std::uint16_t address,
                                       const std::vector<std::uint8_t>& bytes,
                                       std::size_t bytes_per_line = 16);

/// The lines of HexImageLines, each ended by CR LF: the text of a HEX file.
std::string HexImageText(std::uint16_t address, const std::vector<std::uint8_t>& bytes,
                         std::size_t bytes_per_line = 16);

}  // namespace korvane
