#pragma once

#include "form/form.h"

namespace korvane {

/// Hides the five digit-group separator lines over the reading display, in index order.
void HideSeparators(Form& form);

}  // namespace korvane
