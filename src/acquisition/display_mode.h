#pragma once

#include "acquisition/reading_math.h"
#include "form/form.h"
#include "platform/chart.h"

namespace korvane {

/// Hides the five digit-group separator lines over the reading display, in index order.
void HideSeparators(Form& form);

/// The units label, the time graph's Y-axis title and the separators for the display mode and
/// input type chosen, applied when a run starts.
void SetDisplayMode(Form& form, Chart& adc_graph);

/// A click on a display-mode button stops a running acquisition; the new mode takes effect when
/// the next run starts. None of the three buttons is highlighted.
void optDataShow_Click(Form& form);

/// The time graph's Y-axis title that `SetDisplayMode` gives a display mode and input.
const char* TimeGraphTitle(DisplayMode mode, bool temperature);

}  // namespace korvane
