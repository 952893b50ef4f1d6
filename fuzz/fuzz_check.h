#pragma once

#include <cstdio>
#include <cstdlib>

namespace korvane {

/// Ends the run when a property does not hold; libFuzzer keeps the input that broke it.
inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property does not hold: %s\n", property);
  std::abort();
}

}  // namespace korvane
