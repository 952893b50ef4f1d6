#pragma once

#include <cstdint>
#include <span>

#include "form/form.h"

namespace korvane {

/// The readings of the current block, `Samples(1..AverNumb)`; an `AverNumb` outside 0..5000 is
/// held to the buffer.
std::span<std::int32_t> BlockSamples(Form& form);

}  // namespace korvane
