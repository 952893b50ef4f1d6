#include "platform/telnet_options.h"

#include "platform/telnet_stream.h"

namespace korvane::telnet {

Options::Options(std::initializer_list<std::uint8_t> ours,
                 std::initializer_list<std::uint8_t> theirs) {
  for (const auto option : ours) ours_allowed_[option] = true;
  for (const auto option : theirs) theirs_allowed_[option] = true;
}

std::string Options::Request(std::uint8_t verb, std::uint8_t option) {
  auto& state = verb == kWill ? ours_[option] : theirs_[option];
  if (state != State::kOff) return {};
  state = State::kRequested;
  return OptionCommand(verb, option);
}

std::string Options::Answer(std::uint8_t verb, std::uint8_t option) {
  const bool peer_side = verb == kWill || verb == kWont;
  auto& state = peer_side ? theirs_[option] : ours_[option];
  const bool allowed = peer_side ? theirs_allowed_[option] : ours_allowed_[option];
  const std::uint8_t yes = peer_side ? kDo : kWill;
  const std::uint8_t no = peer_side ? kDont : kWont;
  if (verb == kWill || verb == kDo) {
    if (state == State::kOn) return {};
    if (!allowed) {
      state = State::kOff;
      return OptionCommand(no, option);
    }
    const bool asked = state == State::kRequested;
    state = State::kOn;
    return asked ? std::string{} : OptionCommand(yes, option);
  }
  // WONT or DONT: a refusal of what was asked, or the end of what was on.
  const State before = state;
  state = State::kOff;
  if (before == State::kRequested) refused_[option] = true;
  return before == State::kOn ? OptionCommand(no, option) : std::string{};
}

}  // namespace korvane::telnet
