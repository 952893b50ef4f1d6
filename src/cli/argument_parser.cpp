#include "cli/argument_parser.h"

#include <QCommandLineOption>
#include <cmath>

#include "app/main_form.h"

namespace korvane {

namespace {

constexpr double kLowestClockMHz = 1.0;
constexpr double kHighestClockMHz = 24.0;
constexpr int kLastPort = 256;

void AddSharedOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      "korvane-cli: the Korvane evaluation board from the command line, driven as the window "
      "drives it.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOptions({
      {"simulate", "Use the simulated evaluation board instead of the serial ports."},
      {"blank-board", "With --simulate: the simulated board's flash starts empty."},
      {"sim-sine", "With --simulate: a sine on INPUT (repeatable), as korvane-demo's.",
       "INPUT,VOLTS,HZ[,PHASE][,hN:DBC...]"},
      {"sim-mains", "With --simulate: mains hum on AIN0..AIN7.", "HZ,VOLTS[,hN:DBC...]"},
      {"sim-flicker-corner", "With --simulate: 1/f noise meeting the white noise at HZ.", "HZ"},
      {"port-number", "Serial port number 1..256 to try first (default: the stored port).", "N"},
      {"port", "Map DEVICE to a port number and make it the board's port.", "DEVICE"},
      {"clock", "The chip's clock in MHz (1..24), taken instead of measured.", "MHZ"},
      {"json", "Machine-readable output: one JSON object on stdout."},
      {"verbose", "Every status message of the board's panel on stderr."},
  });
}

std::string ReadSharedOptions(const QCommandLineParser& parser, SharedChoices& shared) {
  std::string error;
  const auto simulation = [&](const std::string& argument) {
    ReadSimulationOption(argument, shared.simulation, error);
  };
  if (parser.isSet("simulate")) simulation("--simulate");
  if (parser.isSet("blank-board")) simulation("--blank-board");
  for (const QString& sine : parser.values("sim-sine"))
    simulation("--sim-sine=" + sine.toStdString());
  for (const char* name : {"sim-mains", "sim-flicker-corner"}) {
    if (parser.isSet(name)) {
      simulation("--" + std::string(name) + "=" + parser.value(name).toStdString());
    }
  }
  if (error.empty()) error = CheckSimulationChoices(shared.simulation);
  if (!error.empty()) return error;

  if (parser.isSet("port-number")) {
    bool number = false;
    shared.port_number = parser.value("port-number").toInt(&number);
    if (!number || shared.port_number < 1 || shared.port_number > kLastPort) {
      return "--port-number " + parser.value("port-number").toStdString() +
             ": a port number is 1..256";
    }
  }
  if (parser.isSet("port")) {
    shared.port_device = parser.value("port").toStdString();
    if (shared.port_device.empty()) return "--port needs a device";
    if (shared.port_number != 0) return "--port and --port-number contradict each other: give one";
  }
  if (parser.isSet("clock")) {
    bool number = false;
    const double mhz = parser.value("clock").toDouble(&number);
    if (!number || !std::isfinite(mhz) || mhz < kLowestClockMHz || mhz > kHighestClockMHz) {
      return "--clock " + parser.value("clock").toStdString() + ": the chip's clock is 1..24 MHz";
    }
    shared.clock_mhz = mhz;
  }
  shared.json = parser.isSet("json");
  shared.verbose = parser.isSet("verbose");
  return "";
}

/// The parser's help with the program's name instead of the path it was started by.
std::string HelpText(const QCommandLineParser& parser, const QStringList& arguments) {
  QString text = parser.helpText();
  if (!arguments.isEmpty()) text.replace("Usage: " + arguments.first(), "Usage: korvane-cli");
  return text.toStdString();
}

std::string GeneralHelp(QCommandLineParser& parser, const QStringList& arguments) {
  parser.addPositionalArgument("command", "The subcommand (below); COMMAND --help tells more.",
                               "COMMAND [command options]");
  std::string text = HelpText(parser, arguments) + "\nSubcommands:\n";
  for (const Subcommand& command : Subcommands()) {
    text += "  " + std::string(command.synopsis) + "\n      " + command.summary + "\n";
  }
  return text + "\n" + kExitCodeHelp;
}

ParsedArguments Mistake(std::string error) {
  ParsedArguments parsed;
  parsed.code = ExitCode::kBadArguments;
  parsed.error = std::move(error);
  return parsed;
}

}  // namespace

ParsedArguments ParseArguments(const QStringList& arguments) {
  // First pass: the shared options and the subcommand's name; the subcommand's own options are
  // not known yet, so a failure here is judged in the second pass.
  QCommandLineParser first;
  AddSharedOptions(first);
  first.parse(arguments);
  const QStringList words = first.positionalArguments();
  ParsedArguments parsed;
  if (words.isEmpty()) {
    if (first.isSet("version")) {
      parsed.output = "korvane-cli " + VersionText() + "\n";
    } else if (first.isSet("help")) {
      parsed.output = GeneralHelp(first, arguments);
    } else if (!first.unknownOptionNames().isEmpty()) {
      return Mistake("unknown option " + first.unknownOptionNames().first().toStdString() +
                     " (korvane-cli --help lists them)");
    } else {
      return Mistake("no subcommand given (korvane-cli --help lists them)");
    }
    return parsed;
  }
  const std::string name = words.first().toStdString();
  for (const Subcommand& command : Subcommands()) {
    if (name == command.name) parsed.command = &command;
  }
  if (!parsed.command) {
    return Mistake("unknown subcommand " + name + " (korvane-cli --help lists them)");
  }

  QCommandLineParser parser;
  AddSharedOptions(parser);
  parser.addPositionalArgument(parsed.command->name, parsed.command->summary,
                               parsed.command->synopsis);
  if (parsed.command->add_options) parsed.command->add_options(parser);
  if (!parser.parse(arguments)) return Mistake(parser.errorText().toStdString());
  if (parser.isSet("help") || parser.isSet("version")) {
    parsed.output = parser.isSet("help") ? HelpText(parser, arguments) + "\n" + kExitCodeHelp
                                         : "korvane-cli " + VersionText() + "\n";
    parsed.command = nullptr;
    return parsed;
  }
  if (parser.positionalArguments().size() != parsed.command->arguments + 1) {
    return Mistake(std::string(parsed.command->name) + " takes " +
                   (parsed.command->arguments == 0
                        ? "no further words"
                        : std::to_string(parsed.command->arguments) + " word(s)") +
                   ": korvane-cli " + parsed.command->synopsis);
  }
  parsed.request.command = name;
  std::string error = ReadSharedOptions(parser, parsed.request.shared);
  if (error.empty() && parsed.command->read_options) {
    error = parsed.command->read_options(parser, parsed.request);
  }
  if (!error.empty()) return Mistake(error);
  return parsed;
}

}  // namespace korvane
