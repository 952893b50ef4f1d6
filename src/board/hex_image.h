#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

/// One Intel HEX record (":" count address type data checksum, upper-case, no line end).
std::string HexRecord(std::uint8_t type, std::uint16_t address,
                      const std::vector<std::uint8_t>& data);

/// A whole image: data records holding `bytes` from `address` on, `bytes_per_line` per record,
/// then the record of its trailer (ImageTrailer, the mark of a whole image the board runs), then
/// the end-of-file record. Lines carry no line ends.
std::vector<std::string> HexImageLines(std::uint16_t address,
                                       const std::vector<std::uint8_t>& bytes,
                                       std::size_t bytes_per_line = 16);

/// A partial image: the lines of HexImageLines without the trailer's record, so the board holds
/// the bytes after the load but does not run them.
std::vector<std::string> PartialHexImageLines(std::uint16_t address,
                                              const std::vector<std::uint8_t>& bytes,
                                              std::size_t bytes_per_line = 16);

/// A small program for the simulated board: a jump from 0000 to 0040 where it loops, and
/// `size` bytes in all (at least 66), the rest filled with a repeating pattern.
std::vector<std::uint8_t> DemoProgramBytes(std::size_t size);

/// The lines of HexImageLines (a whole image), each ended by CR LF: the text of a HEX file.
std::string HexImageText(std::uint16_t address, const std::vector<std::uint8_t>& bytes,
                         std::size_t bytes_per_line = 16);

}  // namespace korvane
