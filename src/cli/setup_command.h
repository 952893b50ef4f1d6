#pragma once

#include <QCommandLineParser>
#include <string>

#include "cli/adc_choices.h"
#include "cli/subcommand.h"

namespace korvane {

class BoardSession;

/// `setup`: writes the converter's registers with the settings given as options.
extern const Subcommand kSetupCommand;

/// The converter options (`kAdcOptionNames`), for every subcommand that sets the converter up.
void AddAdcOptions(QCommandLineParser& parser);
/// Reads them into `choices`; returns why they cannot be used, or "".
std::string ReadAdcOptions(const QCommandLineParser& parser, AdcChoices& choices);

/// Sets the chosen settings through the settings panel's controls, turns a data rate into its
/// decimation, then (with `write_registers`) clicks "&Set ADC" and loads the offset DAC. kOk,
/// or the exit code after the cause was printed.
ExitCode SetUpConverter(BoardSession& session, const AdcChoices& choices, bool write_registers);

}  // namespace korvane
