#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::com_port {

// COM-PORT-OPTION commands (RFC 2217) as the client sends them; the server answers with the
// same command plus kServerReply.
constexpr std::uint8_t kSetBaudRate = 1;
constexpr std::uint8_t kSetDataSize = 2;
constexpr std::uint8_t kSetParity = 3;
constexpr std::uint8_t kSetStopSize = 4;
constexpr std::uint8_t kSetControl = 5;
constexpr std::uint8_t kPurgeData = 12;
constexpr std::uint8_t kServerReply = 100;

// Values of SET-PARITY, SET-STOPSIZE, SET-CONTROL and PURGE-DATA.
constexpr std::uint8_t kParityNone = 1;
constexpr std::uint8_t kParityOdd = 2;
constexpr std::uint8_t kParityEven = 3;
constexpr std::uint8_t kStopOne = 1;
constexpr std::uint8_t kStopTwo = 2;
constexpr std::uint8_t kStopOneAndHalf = 3;
constexpr std::uint8_t kNoFlowControl = 1;
constexpr std::uint8_t kDtrOn = 8;
constexpr std::uint8_t kDtrOff = 9;
constexpr std::uint8_t kRtsOn = 11;
constexpr std::uint8_t kRtsOff = 12;
constexpr std::uint8_t kPurgeBoth = 3;

/// One command: SET-BAUDRATE carries four bytes, most significant first; the others one.
struct Command {
  std::uint8_t code = 0;
  std::uint32_t value = 0;
  bool operator==(const Command&) const = default;
};

/// The whole subnegotiation, IAC SB COM-PORT-OPTION ... IAC SE, ready to send.
std::string Encode(Command command);
/// A subnegotiation payload of COM-PORT-OPTION; nothing when it is too short for its command.
std::optional<Command> Decode(std::string_view payload);

}  // namespace korvane::com_port
