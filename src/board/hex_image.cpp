#include "board/hex_image.h"

#include <algorithm>

#include "board/image_trailer.h"

namespace korvane {

namespace {

void AppendHexByte(std::string& text, unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  text.push_back(kDigits[(value >> 4) & 0xFu]);
  text.push_back(kDigits[value & 0xFu]);
}

}  // namespace

std::string HexRecord(std::uint8_t type, std::uint16_t address,
                      const std::vector<std::uint8_t>& data) {
  std::vector<unsigned> fields = {static_cast<unsigned>(data.size() & 0xFFu),
                                  static_cast<unsigned>(address >> 8), address & 0xFFu, type};
  fields.insert(fields.end(), data.begin(), data.end());
  unsigned sum = 0;
  std::string record = ":";
  for (const unsigned field : fields) {
    sum += field;
    AppendHexByte(record, field);
  }
  AppendHexByte(record, (0x100u - (sum & 0xFFu)) & 0xFFu);
  return record;
}

std::vector<std::string> PartialHexImageLines(std::uint16_t address,
                                              const std::vector<std::uint8_t>& bytes,
                                              std::size_t bytes_per_line) {
  std::vector<std::string> lines;
  bytes_per_line = std::max<std::size_t>(bytes_per_line, 1);
  for (std::size_t start = 0; start < bytes.size(); start += bytes_per_line) {
    const auto end =
        bytes.begin() + static_cast<std::ptrdiff_t>(std::min(start + bytes_per_line, bytes.size()));
    const std::vector<std::uint8_t> chunk(bytes.begin() + static_cast<std::ptrdiff_t>(start), end);
    lines.push_back(HexRecord(0x00, static_cast<std::uint16_t>(address + start), chunk));
  }
  lines.push_back(HexRecord(0x01, 0x0000, {}));
  return lines;
}

std::vector<std::string> HexImageLines(std::uint16_t address,
                                       const std::vector<std::uint8_t>& bytes,
                                       std::size_t bytes_per_line) {
  std::vector<std::string> lines = PartialHexImageLines(address, bytes, bytes_per_line);
  lines.insert(lines.end() - 1,
               HexRecord(0x00, kImageTrailerAddress, ImageTrailer(address, bytes)));
  return lines;
}

std::string HexImageText(std::uint16_t address, const std::vector<std::uint8_t>& bytes,
                         std::size_t bytes_per_line) {
  std::string text;
  for (const std::string& line : HexImageLines(address, bytes, bytes_per_line)) {
    text += line + "\r\n";
  }
  return text;
}

std::vector<std::uint8_t> DemoProgramBytes(std::size_t size) {
  constexpr std::size_t kLoopAddress = 0x40;
  std::vector<std::uint8_t> bytes(std::max(size, kLoopAddress + 2));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  bytes[0] = 0x02;  // LJMP 0040
  bytes[1] = 0x00;
  bytes[2] = kLoopAddress;
  bytes[kLoopAddress] = 0x80;  // SJMP to itself
  bytes[kLoopAddress + 1] = 0xFE;
  return bytes;
}

}  // namespace korvane
