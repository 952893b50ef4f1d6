#pragma once

#include <string>

namespace korvane {

/// The crosshair's reading of the time graph's point at `key` (its index in the block) with
/// `value` to the float precision the graph holds, e.g. "#120   t = 0.166667 s   1.234568". Reading
/// n of a block arrives n periods after the block began, so its time is n * `millis_per_reading`;
/// an unknown period (0) shows no time.
std::string CrosshairText(double key, double value, double millis_per_reading);

}  // namespace korvane
