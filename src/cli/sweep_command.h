#pragma once

#include "cli/subcommand.h"

namespace korvane {

/// `sweep`: the noise table, every gain at every data rate, as CSV, Markdown and a PNG plot.
extern const Subcommand kSweepCommand;

/// Whether the command line asks for the plot: drawing its text needs a QGuiApplication (on the
/// offscreen platform), which korvane-cli then starts instead of a core application.
bool SweepWantsPlot(int argc, char** argv);

}  // namespace korvane
