#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/serial_port.h"
#include "platform/time_base.h"

namespace korvane::testing {

/// A port whose incoming text the test schedules, and which remembers what was sent.
class ScriptedPort final : public SerialPort {
 public:
  explicit ScriptedPort(TimeBase& time) : time_(time) {}

  bool IsPortOpen() const override { return open_; }
  void SetProgResetLine(bool) override {}
  void SetRunResetLine(bool) override {}

  /// The device vanishes as an unplugged adapter does: it closes itself and says so.
  void LoseDevice() {
    open_ = false;
    ReportPortLost();
  }

  /// `text` arrives `after_ms` from now, in one piece.
  void ArriveAfter(int after_ms, std::string text);

  std::string sent;

 protected:
  void WriteBytes(std::string_view bytes) override { sent.append(bytes); }
  void OpenDevice() override { open_ = true; }
  void CloseDevice() override { open_ = false; }

 private:
  TimeBase& time_;
  bool open_ = true;
};

}  // namespace korvane::testing
