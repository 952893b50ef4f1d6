#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace korvane::telnet {

/// Option negotiation of one end of a Telnet connection (RFC 854/1143 in short): each option is
/// off, requested or on, on this side ("we") and on the peer's. A request is answered only when it
/// would change an option's state, so two ends never echo each other for ever; options this end
/// does not know are refused.
class Options {
 public:
  /// `ours`: options this end agrees to perform (a DO gets WILL); `theirs`: options it lets the
  /// peer perform (a WILL gets DO).
  Options(std::initializer_list<std::uint8_t> ours, std::initializer_list<std::uint8_t> theirs);

  /// Asks for an option: `verb` kWill (we perform it) or kDo (the peer should); the bytes to send.
  std::string Request(std::uint8_t verb, std::uint8_t option);
  /// Takes the peer's WILL, WONT, DO or DONT; the bytes to answer with, often none.
  std::string Answer(std::uint8_t verb, std::uint8_t option);

  bool WeDo(std::uint8_t option) const { return ours_[option] == State::kOn; }
  bool PeerDoes(std::uint8_t option) const { return theirs_[option] == State::kOn; }
  /// The peer refused an option this end asked it to agree to.
  bool Refused(std::uint8_t option) const { return refused_[option]; }

 private:
  enum class State : std::uint8_t { kOff, kRequested, kOn };

  std::array<bool, 256> ours_allowed_{};
  std::array<bool, 256> theirs_allowed_{};
  std::array<State, 256> ours_{};
  std::array<State, 256> theirs_{};
  std::array<bool, 256> refused_{};
};

}  // namespace korvane::telnet
