#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "board/simulated_board.h"
#include "board/timed_byte_queue.h"
#include "platform/telnet_options.h"
#include "platform/telnet_stream.h"
#include "platform/time_base.h"

namespace korvane {

/// The server end of one RFC 2217 connection in front of the simulated board, without the
/// socket. The client's line is the PC's UART: bytes take their time on the wire at the rate the
/// client set (SET-BAUDRATE), both ways, and a board at another rate hears them garbled, as a
/// real one would. DTR drives the programming-reset input and RTS the run-reset input (the
/// program's default wiring); without a client both are off, which holds the board in reset.
/// What the board sends reaches the socket in batches at most kBatchTime old, as a device
/// server's UART and a USB adapter's latency timer hand it over, not one byte per packet.
class BoardSession {
 public:
  /// `send`: bytes for the client's socket. The session installs itself as the board's transmitter.
  BoardSession(TimeBase& time, SimulatedBoard& board, std::function<void(std::string_view)> send);
  ~BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  /// A client connected: the lines go on, as when a port is opened, and the options are offered.
  void Connected();
  /// The client went away: the lines go off and whatever is on the wire is dropped.
  void Disconnected();
  void Feed(std::string_view bytes);

  int BitRate() const { return bit_rate_; }

  static constexpr Micros kBatchTime{4000};

 private:
  void OnSubnegotiation(std::uint8_t option, std::string_view payload);
  void SetLines(bool dtr, bool rts);
  void SendBatch();
  void DropBatch();

  TimeBase& time_;
  SimulatedBoard& board_;
  std::function<void(std::string_view)> send_;
  telnet::Options options_;
  telnet::Reader reader_;
  TimedByteQueue to_board_;
  TimedByteQueue to_client_;
  bool connected_ = false;
  int bit_rate_ = 9600;
  bool dtr_ = false;
  bool rts_ = false;
  std::string batch_;
  std::optional<TimeBase::CallbackId> batch_due_;
};

}  // namespace korvane
