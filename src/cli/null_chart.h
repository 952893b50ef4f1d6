#pragma once

#include "platform/chart.h"

namespace korvane {

/// A chart that draws nothing: the console has no time graph or histogram. It keeps what the
/// handlers read back (point count, title, colours), so they run as in the window.
class NullChart final : public Chart {
 public:
  void SetPointCount(int count) override { count_ = count; }
  int PointCount() const override { return count_; }
  void SetPointY(int, int, float) override {}
  void SetPointX(int, int, float) override {}
  float PointY(int, int) const override { return 0.0f; }
  float PointX(int, int) const override { return 0.0f; }
  void SetSeriesColor(int, std::uint32_t) override {}
  void SetYAxisTitle(const std::string& title) override { title_ = title; }
  std::string YAxisTitle() const override { return title_; }
  void SetYRange(double, double) override {}
  void SetBackgroundColor(std::uint32_t bgr) override { background_ = bgr; }
  std::uint32_t BackgroundColor() const override { return background_; }
  void SetPlottingMethod(int) override {}
  void Redraw() override {}

 private:
  int count_ = 0;
  std::string title_;
  std::uint32_t background_ = 0;
};

}  // namespace korvane
