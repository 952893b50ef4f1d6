#include "acquisition/display_mode.h"

namespace korvane {

void HideSeparators(Form& form) {
  for (auto& line : form.linSep) line.SetVisible(false);
}

}  // namespace korvane
