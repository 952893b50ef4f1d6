#pragma once

namespace korvane {

/// How the time graph is being looked at. Live, it shows every block as the program draws it
/// and scales itself as the program says. Paused, it keeps showing what it showed while the
/// readings go on being collected behind it. Zoomed, the user's wheel or drag has chosen the
/// ranges and new points no longer rescale them. Pause and zoom combine; "Auto scale" ends the
/// zoom and leaves the pause as it is.
class GraphViewState {
 public:
  enum class Event { kPause, kResume, kUserMovedView, kAutoScale };

  void Handle(Event event);

  bool Paused() const { return paused_; }
  bool Zoomed() const { return zoomed_; }
  /// New points reach the plot only while not paused.
  bool ShowsNewPoints() const { return !paused_; }
  /// The program's scaling (keys fitted to the data, Y automatic or fixed by the program)
  /// applies only while the user has not chosen the ranges.
  bool ProgramScales() const { return !zoomed_; }

 private:
  bool paused_ = false;
  bool zoomed_ = false;
};

}  // namespace korvane
