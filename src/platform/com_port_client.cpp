#include "platform/com_port_client.h"

namespace korvane {

using namespace telnet;

namespace {
/// Binary and suppress-go-ahead both ways, as device servers expect, and COM-PORT-OPTION.
Options ClientOptions() {
  return Options({kBinary, kSuppressGoAhead, kComPortOption},
                 {kBinary, kSuppressGoAhead, kComPortOption});
}
}  // namespace

ComPortClient::ComPortClient(std::function<void(std::string_view)> send,
                             std::function<void(std::string_view)> data)
    : send_(std::move(send)),
      data_(std::move(data)),
      options_(ClientOptions()),
      reader_({[this](std::string_view bytes) {
                 if (Agreed()) data_(bytes);
               },
               [this](std::uint8_t verb, std::uint8_t option) { OnOption(verb, option); },
               nullptr}) {}

void ComPortClient::Start(const ComPortLine& line) {
  options_ = ClientOptions();
  reader_.Reset();
  waiting_.clear();
  line_ = line;
  send_(options_.Request(kWill, kBinary) + options_.Request(kDo, kBinary) +
        options_.Request(kWill, kSuppressGoAhead) + options_.Request(kDo, kSuppressGoAhead) +
        options_.Request(kWill, kComPortOption));
}

void ComPortClient::Feed(std::string_view bytes) {
  reader_.Feed(bytes);
}

void ComPortClient::OnOption(std::uint8_t verb, std::uint8_t option) {
  const bool was_agreed = Agreed();
  const std::string answer = options_.Answer(verb, option);
  if (!answer.empty()) send_(answer);
  if (was_agreed || !Agreed()) return;
  SendWholeLine();
  SendCommand(com_port::kPurgeData, com_port::kPurgeBoth);
  if (!waiting_.empty()) send_(Escaped(waiting_));
  waiting_.clear();
}

void ComPortClient::SendCommand(std::uint8_t code, std::uint32_t value) {
  if (Agreed()) send_(com_port::Encode({code, value}));
}

void ComPortClient::SendWholeLine() {
  SendCommand(com_port::kSetBaudRate, line_.bit_rate);
  SendCommand(com_port::kSetDataSize, line_.data_bits);
  SendCommand(com_port::kSetParity, line_.parity);
  SendCommand(com_port::kSetStopSize, line_.stop_size);
  SendCommand(com_port::kSetControl, com_port::kNoFlowControl);
  SendCommand(com_port::kSetControl, line_.dtr ? com_port::kDtrOn : com_port::kDtrOff);
  SendCommand(com_port::kSetControl, line_.rts ? com_port::kRtsOn : com_port::kRtsOff);
}

void ComPortClient::SetLine(const ComPortLine& line) {
  line_ = line;
  SendWholeLine();
}

void ComPortClient::SetDtr(bool on) {
  if (line_.dtr == on) return;
  line_.dtr = on;
  SendCommand(com_port::kSetControl, on ? com_port::kDtrOn : com_port::kDtrOff);
}

void ComPortClient::SetRts(bool on) {
  if (line_.rts == on) return;
  line_.rts = on;
  SendCommand(com_port::kSetControl, on ? com_port::kRtsOn : com_port::kRtsOff);
}

void ComPortClient::Purge() {
  SendCommand(com_port::kPurgeData, com_port::kPurgeBoth);
}

void ComPortClient::Write(std::string_view data) {
  if (Agreed()) {
    send_(Escaped(data));
  } else if (waiting_.size() + data.size() <= kLongestWait) {
    waiting_.append(data);
  }
}

}  // namespace korvane
