#include "platform/com_port_commands.h"

#include "platform/telnet_stream.h"

namespace korvane::com_port {

namespace {
bool CarriesFourBytes(std::uint8_t code) {
  return code % kServerReply == kSetBaudRate;
}
}  // namespace

std::string Encode(Command command) {
  std::string payload(1, static_cast<char>(command.code));
  const int bytes = CarriesFourBytes(command.code) ? 4 : 1;
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    payload += static_cast<char>((command.value >> shift) & 0xFF);
  }
  return telnet::Subnegotiation(telnet::kComPortOption, payload);
}

std::optional<Command> Decode(std::string_view payload) {
  if (payload.empty()) return std::nullopt;
  Command command{static_cast<std::uint8_t>(payload[0]), 0};
  const std::size_t bytes = CarriesFourBytes(command.code) ? 4 : 1;
  if (payload.size() < 1 + bytes) return std::nullopt;
  for (std::size_t i = 1; i <= bytes; ++i) {
    command.value = (command.value << 8) | static_cast<std::uint8_t>(payload[i]);
  }
  return command;
}

}  // namespace korvane::com_port
