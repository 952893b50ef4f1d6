#pragma once

#include <cstdint>
#include <span>

#include "acquisition/block_settings.h"
#include "acquisition/histogram.h"
#include "acquisition/reading_math.h"
#include "platform/chart.h"

namespace korvane {

/// Draws a block that did not come from a run (an opened recording) the way a run draws its
/// block: the readings at points 1..n of the time graph in the display mode `mode` (point 0 stays
/// 0), the graph's band of four standard deviations, and, for more than 30 readings, the
/// histogram.
void ShowBlockOnCharts(std::span<const std::int32_t> codes, const BlockSettings& settings,
                       DisplayMode mode, Chart& adc_graph, Histogram& histogram);

}  // namespace korvane
