#pragma once

#include <string>
#include <string_view>

#include "board/simulated_signals.h"

namespace korvane {

/// The command-line options that give the simulated board its signals (all repeatable; a later
/// --sim-mains or --sim-flicker-corner replaces an earlier one, every --sim-sine adds a tone):
///   --sim-sine=INPUT,VOLTS,HZ[,PHASE-DEGREES][,hN:DBC...]   INPUT AIN0..AIN7 or AINCOM
///   --sim-mains=HZ,VOLTS[,hN:DBC...]                        HZ 45..65
///   --sim-flicker-corner=HZ
/// hN:DBC is harmonic N (2..100) at DBC dB (at most 0) below the tone, e.g. h3:-60.
bool IsSignalOption(std::string_view argument);

/// Adds what `argument` (one of the options above) asks for to `signals`; returns why it cannot,
/// leaving `signals` as it was, or an empty text.
std::string ApplySignalOption(std::string_view argument, SimulatedSignals& input_signals);

}  // namespace korvane
