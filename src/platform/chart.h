#pragma once

#include <cstdint>
#include <string>

namespace korvane {

/// One chart of the window (time graph or histogram). Only series 0 is used; point numbers are
/// zero-based; values are single precision. Redraw is a request: implementations repaint at most
/// about 60 times a second however often it is asked.
class Chart {
 public:
  virtual ~Chart() = default;
  virtual void SetPointCount(int count) = 0;
  virtual int PointCount() const = 0;
  virtual void SetPointY(int series, int point, float value) = 0;
  virtual void SetPointX(int series, int point, float value) = 0;
  virtual float PointY(int series, int point) const = 0;
  virtual float PointX(int series, int point) const = 0;
  /// Colour as 0xBBGGRR (255 red, 32768 dark green).
  virtual void SetSeriesColor(int series, std::uint32_t bgr) = 0;
  virtual void SetYAxisTitle(const std::string& title) = 0;
  virtual std::string YAxisTitle() const = 0;
  /// Switches from automatic to a fixed Y range.
  virtual void SetYRange(double min, double max) = 0;
  virtual void SetBackgroundColor(std::uint32_t bgr) = 0;
  virtual std::uint32_t BackgroundColor() const = 0;
  /// The chart's display style number (8 for the time graph, 10 for the histogram after a reset).
  virtual void SetPlottingMethod(int method) = 0;
  virtual void Redraw() = 0;
};

}  // namespace korvane
