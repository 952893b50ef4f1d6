#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/com_port_commands.h"
#include "platform/telnet_options.h"
#include "platform/telnet_stream.h"

namespace korvane {

/// The line a remote serial port is to have: format and the two modem outputs.
struct ComPortLine {
  std::uint32_t bit_rate = 0;
  std::uint8_t data_bits = 8;
  std::uint8_t parity = com_port::kParityNone;
  std::uint8_t stop_size = com_port::kStopOne;
  bool dtr = false;
  bool rts = false;
};

/// The client end of an RFC 2217 connection, without the socket: it is handed what arrives and
/// hands out what is to be sent. It offers binary transmission both ways, suppress-go-ahead
/// both ways and COM-PORT-OPTION. Until the server agrees to COM-PORT-OPTION it is not yet a
/// serial port: what the program sends waits (up to kLongestWait bytes), and what arrives is
/// not the board's (a server that speaks something else). Once agreed, it sets the line, drops
/// what the server's buffers held, and from then on sends each change of the line at once.
class ComPortClient {
 public:
  static constexpr std::size_t kLongestWait = 64 * 1024;

  /// `send`: bytes for the socket; `data`: the board's bytes.
  ComPortClient(std::function<void(std::string_view)> send,
                std::function<void(std::string_view)> data);

  /// A new connection: offers the options. The line is the one to set once agreed.
  void Start(const ComPortLine& line);
  void Feed(std::string_view bytes);

  bool Agreed() const { return options_.WeDo(telnet::kComPortOption); }
  /// The server said it will not do COM-PORT-OPTION.
  bool Refused() const { return options_.Refused(telnet::kComPortOption); }

  void SetLine(const ComPortLine& line);
  void SetDtr(bool on);
  void SetRts(bool on);
  /// Drops what the server holds in both directions.
  void Purge();
  /// The board's data; waits while not yet agreed.
  void Write(std::string_view data);

 private:
  void OnOption(std::uint8_t verb, std::uint8_t option);
  void SendCommand(std::uint8_t code, std::uint32_t value);
  void SendWholeLine();

  std::function<void(std::string_view)> send_;
  std::function<void(std::string_view)> data_;
  telnet::Options options_;
  telnet::Reader reader_;
  ComPortLine line_;
  std::string waiting_;
};

}  // namespace korvane
