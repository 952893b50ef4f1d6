#include "board_session.h"

#include "platform/com_port_commands.h"

namespace korvane {

using namespace telnet;

namespace {
const std::initializer_list<std::uint8_t> kAgreed = {kBinary, kSuppressGoAhead, kComPortOption};
}  // namespace

BoardSession::BoardSession(TimeBase& time, SimulatedBoard& board,
                           std::function<void(std::string_view)> send)
    : time_(time),
      board_(board),
      send_(std::move(send)),
      options_(kAgreed, kAgreed),
      reader_({[this](std::string_view bytes) {
                 if (connected_) to_board_.Send(bytes, bit_rate_);
               },
               [this](std::uint8_t verb, std::uint8_t option) {
                 const std::string answer = options_.Answer(verb, option);
                 if (!answer.empty()) send_(answer);
               },
               [this](std::uint8_t option, std::string_view payload) {
                 OnSubnegotiation(option, payload);
               }}),
      to_board_(
          time, [this](std::string_view bytes, int rate) { board_.ReceiveSerial(bytes, rate); },
          [this] { return board_.UartBitRate(); }),
      to_client_(
          time,
          [this](std::string_view bytes, int) {
            batch_.append(bytes);
            if (!batch_due_) batch_due_ = time_.Schedule(kBatchTime, [this] { SendBatch(); });
          },
          [this] { return bit_rate_; }) {
  board_.SetTransmitter([this](std::string_view bytes, int bit_rate) {
    if (connected_) to_client_.Send(bytes, bit_rate);
  });
  SetLines(false, false);
}

BoardSession::~BoardSession() {
  board_.SetTransmitter(nullptr);
  DropBatch();
}

void BoardSession::SendBatch() {
  batch_due_.reset();
  send_(Escaped(batch_));
  batch_.clear();
}

void BoardSession::DropBatch() {
  if (batch_due_) time_.Cancel(*batch_due_);
  batch_due_.reset();
  batch_.clear();
}

void BoardSession::Connected() {
  options_ = Options(kAgreed, kAgreed);
  reader_.Reset();
  connected_ = true;
  send_(options_.Request(kWill, kBinary) + options_.Request(kDo, kBinary) +
        options_.Request(kWill, kSuppressGoAhead) + options_.Request(kWill, kComPortOption));
  SetLines(true, true);
}

void BoardSession::Disconnected() {
  connected_ = false;
  to_board_.Clear();
  to_client_.Clear();
  DropBatch();
  SetLines(false, false);
}

void BoardSession::Feed(std::string_view bytes) {
  reader_.Feed(bytes);
}

void BoardSession::SetLines(bool dtr, bool rts) {
  dtr_ = dtr;
  rts_ = rts;
  board_.SetProgResetInput(dtr);
  board_.SetRunResetInput(rts);
}

void BoardSession::OnSubnegotiation(std::uint8_t option, std::string_view payload) {
  if (option != kComPortOption) return;
  const auto command = com_port::Decode(payload);
  if (!command || command->code >= com_port::kServerReply) return;
  com_port::Command reply{static_cast<std::uint8_t>(command->code + com_port::kServerReply),
                          command->value};
  switch (command->code) {
    case com_port::kSetBaudRate:
      if (command->value > 0 && command->value <= 1'000'000) {
        bit_rate_ = static_cast<int>(command->value);
      }
      reply.value = static_cast<std::uint32_t>(bit_rate_);  // 0 asks for the rate in use
      break;
    case com_port::kSetControl:
      if (command->value == com_port::kDtrOn || command->value == com_port::kDtrOff) {
        SetLines(command->value == com_port::kDtrOn, rts_);
      } else if (command->value == com_port::kRtsOn || command->value == com_port::kRtsOff) {
        SetLines(dtr_, command->value == com_port::kRtsOn);
      }
      break;
    case com_port::kPurgeData:
      to_board_.Clear();
      to_client_.Clear();
      DropBatch();
      break;
    default:
      break;  // the board's UART is 8-N-1 whatever is asked; the answer says what was asked
  }
  send_(com_port::Encode(reply));
}

}  // namespace korvane
