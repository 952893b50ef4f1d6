#pragma once

namespace korvane {

/// Shortest time between two repaints of a chart or of the reading display, in milliseconds:
/// about 30 a second, smooth to the eye, while readings may come 720 times a second. Each
/// repaint of the 5000-point time graph costs about a millisecond.
constexpr int kRepaintIntervalMs = 33;

}  // namespace korvane
