#include "cli/setup_command.h"

#include <cstdio>

#include "acquisition/block_settings.h"
#include "adcconfig/adc_setup.h"
#include "adcconfig/offset_dac.h"
#include "cli/board_session.h"
#include "cli/output.h"

namespace korvane {

namespace {

constexpr int kSetAdcButton = 1;

std::string ReadSetup(const QCommandLineParser& parser, CliRequest& request) {
  return ReadAdcOptions(parser, request.adc);
}

ExitCode RunSetup(BoardSession& session, const CliRequest& request) {
  ExitCode code = session.Connect();
  if (code == ExitCode::kOk) code = SetUpConverter(session, request.adc, true);
  if (code != ExitCode::kOk || session.Interrupted()) return session.Finish(code);
  auto lines = SettingLines(BlockSettingsFromForm(session.form()));
  lines.emplace_back("offset_dac", session.form().txtOfstDAC.Text());
  WriteAll(stdout, FieldsText(lines, request.shared.json));
  return session.Finish(ExitCode::kOk);
}

}  // namespace

void AddAdcOptions(QCommandLineParser& parser) {
  for (const AdcOptionName& option : kAdcOptionNames) {
    parser.addOption(QCommandLineOption(option.name, option.description, option.value_name));
  }
}

std::string ReadAdcOptions(const QCommandLineParser& parser, AdcChoices& choices) {
  for (const AdcOptionName& option : kAdcOptionNames) {
    if (!parser.isSet(option.name)) continue;
    const std::string value = *option.value_name ? parser.value(option.name).toStdString() : "";
    std::string error = ReadAdcChoice(option.name, value, choices);
    if (!error.empty()) return error;
  }
  return CheckAdcChoices(choices);
}

ExitCode SetUpConverter(BoardSession& session, const AdcChoices& choices, bool write_registers) {
  Form& form = session.form();
  std::string why = ApplyAdcChoices(form, choices);
  if (choices.rate_hz && why.empty()) {
    const auto decimation = DecimationForRate(form, *choices.rate_hz, why);
    if (decimation) form.txtDecimation.SetText(std::to_string(*decimation));
  }
  if (!why.empty()) {
    std::fprintf(stderr, "korvane-cli: %s\n", why.c_str());
    return ExitCode::kBadArguments;
  }
  const int messages_before = session.dialogs().Count();
  if (write_registers) {
    form.cmdCntr[kSetAdcButton].Click();
    if (form.AdcNotSet) {
      const std::string& last = session.dialogs().LastMessage();
      const bool refused =
          session.dialogs().Count() > messages_before &&
          (last == AdcSetup::kCheckFrequency || last == AdcSetup::kWrongDecimation);
      session.ReportFailure(ConsoleDialogs::OneLine(form.Panel(1).Text()), messages_before);
      return refused ? ExitCode::kBadArguments : ExitCode::kBoardError;
    }
  }
  if (choices.offset_dac) {
    form.txtOfstDAC.SetText(std::to_string(*choices.offset_dac));
    form.cmdODAC.Click();
    if (form.Panel(1).Text() != OffsetDac::kLoaded) {
      session.ReportFailure("the offset DAC was not loaded: the board did not answer",
                            messages_before);
      return ExitCode::kBoardError;
    }
  }
  return ExitCode::kOk;
}

const Subcommand kSetupCommand{
    "setup",
    "setup [--gain G] [--rate HZ | --decimation N] [--filter NAME] ... (see setup --help)",
    "Write the converter's registers with the settings given, as \"Set ADC\" does; print them.",
    0,
    AddAdcOptions,
    ReadSetup,
    RunSetup};

}  // namespace korvane
