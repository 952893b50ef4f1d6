#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvane::telnet {

// Telnet command bytes (RFC 854) and the options a serial device server talks about.
constexpr std::uint8_t kIac = 255;
constexpr std::uint8_t kDont = 254;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kWont = 252;
constexpr std::uint8_t kWill = 251;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kSe = 240;
constexpr std::uint8_t kBinary = 0;
constexpr std::uint8_t kEcho = 1;
constexpr std::uint8_t kSuppressGoAhead = 3;
constexpr std::uint8_t kComPortOption = 44;

/// Data bytes as they go on the wire: every 0xFF doubled, so that it cannot start a command.
std::string Escaped(std::string_view data);
/// IAC `verb` `option`.
std::string OptionCommand(std::uint8_t verb, std::uint8_t option);
/// IAC SB `option` payload IAC SE, with 0xFF in the payload doubled.
std::string Subnegotiation(std::uint8_t option, std::string_view payload);

/// Splits what arrives from the peer into data and commands, however the bytes are cut into
/// packets: a command split across two reads is completed by the second. Holds at most one
/// subnegotiation of kLongestSubnegotiation bytes (a longer one is cut there), so a peer that
/// never ends one cannot fill the memory.
class Reader {
 public:
  struct Handlers {
    std::function<void(std::string_view data)> data;
    std::function<void(std::uint8_t verb, std::uint8_t option)> option;
    std::function<void(std::uint8_t option, std::string_view payload)> subnegotiation;
  };
  static constexpr std::size_t kLongestSubnegotiation = 64;

  explicit Reader(Handlers handlers) : handlers_(std::move(handlers)) {}

  void Feed(std::string_view bytes);
  /// Back to plain data: what was half read is dropped (a new connection).
  void Reset();

 private:
  enum class State { kData, kCommand, kOption, kSubOption, kSubData, kSubCommand };

  Handlers handlers_;
  State state_ = State::kData;
  std::uint8_t verb_ = 0;
  std::uint8_t sub_option_ = 0;
  std::string sub_payload_;
};

}  // namespace korvane::telnet
