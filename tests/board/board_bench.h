#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "board/simulated_board.h"
#include "board/simulated_serial_port.h"
#include "platform/virtual_time.h"

namespace korvane {

inline BoardOptions ClockedAt(double clock_mhz) {
  BoardOptions options;
  options.clock_mhz = clock_mhz;
  return options;
}

/// A simulated board on a simulated port in virtual time, driven the way the host drives it.
struct BoardBench {
  explicit BoardBench(BoardOptions options = {}, int board_port = 1)
      : board(time, options), port(time, board, board_port) {}

  /// (Re)opens `port_number` at `bit_rate` with both reset lines on.
  void Open(int bit_rate, int port_number = 1) {
    port.ClosePort();
    port.SetCommPort(port_number);
    port.SetPortSettings(std::to_string(bit_rate) + ",N,8,1");
    port.SetProgResetLine(true);
    port.SetRunResetLine(true);
    port.OpenPort();
  }

  void PulseProgReset() {
    port.SetProgResetLine(false);
    time.Advance(Millis{40});
    port.SetProgResetLine(true);
    time.Advance(Millis{300});
  }

  void PulseRunReset() {
    port.SetRunResetLine(false);
    time.Advance(Millis{40});
    port.SetRunResetLine(true);
    time.Advance(Millis{300});
  }

  /// Sends `text`, lets `wait` pass and returns everything that arrived meanwhile.
  std::string Exchange(std::string_view text, Millis wait = Millis{300}) {
    port.TakeInput();
    port.Transmit(text);
    time.Advance(wait);
    return port.TakeInput();
  }

  /// Exchanges each text in turn; returns the answers, each followed by "|".
  std::string Exchanges(std::initializer_list<std::string_view> texts, Millis wait = Millis{300}) {
    std::string answers;
    for (const std::string_view text : texts) answers += Exchange(text, wait) + "|";
    return answers;
  }

  /// Opens at `bit_rate`, pulses the programming reset and sends a CR; returns the answer.
  std::string EnterProgrammingMode(int bit_rate = 1200) {
    Open(bit_rate);
    PulseProgReset();
    return Exchange("\r");
  }

  /// Stores the link-speed reload value FF `reload_low` the way discovery does, then run-resets
  /// the board with the port at `bit_rate`. False when programming mode refused a command.
  bool ProgramLinkSpeed(const std::string& reload_low, int bit_rate) {
    EnterProgrammingMode();
    for (const std::string& command :
         {std::string("CP8000"), std::string("CW80104A"), "CW8011" + reload_low,
          std::string("CW80124B"), std::string("CW8013FF")}) {
      if (Exchange(command) != command + ">") return false;
    }
    Open(bit_rate);
    PulseRunReset();
    return true;
  }

  VirtualTime time;
  SimulatedBoard board;
  SimulatedSerialPort port;
};

}  // namespace korvane
