#pragma once

namespace korvane {

/// The conversion stream a "U" command starts.
enum class StreamKind {
  kSingle = 3,     ///< "U3": every conversion
  kAveraging = 4,  ///< "U4": N conversions averaged into one result
  kFiltering = 5,  ///< "U5": a running average of the last N conversions, one per conversion
};

}  // namespace korvane
