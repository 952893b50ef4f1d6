#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/chart.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/settings_store.h"
#include "platform/time_base.h"

namespace korvane::testing {

struct ShownMessage {
  std::string text;
  MessageIcon icon;
};

/// Records message boxes (dismissed at once) and beeps.
class RecordingDialogs final : public Dialogs {
 public:
  void MessageBox(const std::string& text, MessageIcon icon) override;
  void Beep() override { ++beeps; }

  std::vector<ShownMessage> messages;
  int beeps = 0;
  std::vector<std::string> Texts() const;
};

/// Thrown by FakeProcess::EndNow to abandon whatever the program was doing, as ending does.
struct ProgramEnded {};

class FakeProcess final : public Process {
 public:
  bool AnotherInstanceRunning() override { return another_instance; }
  std::string CommandLineText() override { return command_line; }
  [[noreturn]] void EndNow() override { throw ProgramEnded{}; }

  bool another_instance = false;
  std::string command_line;
};

class MemorySettings final : public SettingsStore {
 public:
  std::string Read(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& default_value) override;
  void Write(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override;

  std::map<std::string, std::string> values;  // "application/section/key" -> value
};

/// A chart that only keeps what it is told.
class FakeChart final : public Chart {
 public:
  void SetPointCount(int count) override;
  int PointCount() const override { return static_cast<int>(ys.size()); }
  void SetPointY(int series, int point, float value) override;
  void SetPointX(int series, int point, float value) override;
  float PointY(int series, int point) const override;
  float PointX(int series, int point) const override;
  void SetSeriesColor(int, std::uint32_t bgr) override { series_color = bgr; }
  void SetYAxisTitle(const std::string& title) override { y_title = title; }
  std::string YAxisTitle() const override { return y_title; }
  void SetYRange(double min, double max) override {
    y_min = min;
    y_max = max;
  }
  void SetBackgroundColor(std::uint32_t bgr) override { background = bgr; }
  std::uint32_t BackgroundColor() const override { return background; }
  void SetPlottingMethod(int method) override { plotting_method = method; }
  void Redraw() override {
    ++redraws;
    if (on_redraw) on_redraw();
  }

  std::vector<float> xs, ys;
  std::uint32_t series_color = 0, background = 0;
  std::string y_title;
  double y_min = 0, y_max = 0;
  int plotting_method = 0;
  int redraws = 0;
  /// Runs after every redraw, when the chart shows what it was told.
  std::function<void()> on_redraw;
};

}  // namespace korvane::testing
