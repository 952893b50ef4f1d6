#include "platform/telnet_stream.h"

namespace korvane::telnet {

namespace {
constexpr char Byte(std::uint8_t value) {
  return static_cast<char>(value);
}
}  // namespace

std::string Escaped(std::string_view data) {
  std::string escaped;
  escaped.reserve(data.size());
  for (const char c : data) {
    escaped += c;
    if (static_cast<std::uint8_t>(c) == kIac) escaped += c;
  }
  return escaped;
}

std::string OptionCommand(std::uint8_t verb, std::uint8_t option) {
  return {Byte(kIac), Byte(verb), Byte(option)};
}

std::string Subnegotiation(std::uint8_t option, std::string_view payload) {
  return std::string{Byte(kIac), Byte(kSb), Byte(option)} + Escaped(payload) +
         std::string{Byte(kIac), Byte(kSe)};
}

void Reader::Reset() {
  state_ = State::kData;
  sub_payload_.clear();
}

void Reader::Feed(std::string_view bytes) {
  std::string data;
  const auto flush_data = [&] {
    if (!data.empty() && handlers_.data) handlers_.data(data);
    data.clear();
  };
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    switch (state_) {
      case State::kData:
        if (byte == kIac) {
          state_ = State::kCommand;
        } else {
          data += c;
        }
        break;
      case State::kCommand:
        state_ = State::kData;
        if (byte == kIac) {
          data += c;  // a doubled 0xFF is one data byte
        } else if (byte == kWill || byte == kWont || byte == kDo || byte == kDont) {
          verb_ = byte;
          state_ = State::kOption;
        } else if (byte == kSb) {
          state_ = State::kSubOption;
        }  // NOP, GA and the other two-byte commands carry nothing for a serial line
        break;
      case State::kOption:
        flush_data();  // data before the command reaches its user before the command acts
        state_ = State::kData;
        if (handlers_.option) handlers_.option(verb_, byte);
        break;
      case State::kSubOption:
        sub_option_ = byte;
        sub_payload_.clear();
        state_ = State::kSubData;
        break;
      case State::kSubData:
        if (byte == kIac) {
          state_ = State::kSubCommand;
        } else if (sub_payload_.size() < kLongestSubnegotiation) {
          sub_payload_ += c;
        }
        break;
      case State::kSubCommand:
        if (byte == kIac) {
          if (sub_payload_.size() < kLongestSubnegotiation) sub_payload_ += c;
          state_ = State::kSubData;
        } else if (byte == kSe) {
          flush_data();
          state_ = State::kData;
          if (handlers_.subnegotiation) handlers_.subnegotiation(sub_option_, sub_payload_);
          sub_payload_.clear();
        } else {
          state_ = State::kSubData;  // no other command means anything inside a subnegotiation
        }
        break;
    }
  }
  flush_data();
}

}  // namespace korvane::telnet
