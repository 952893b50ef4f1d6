#include "cli/argument_parser.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane {
namespace {

ParsedArguments Parse(const std::vector<const char*>& words) {
  QStringList arguments{"korvane-cli"};
  for (const char* word : words) arguments << word;
  return ParseArguments(arguments);
}

// Every mistake ends with kBadArguments and a line naming its cause, before any board is
// touched; help and version print and end with kOk.
TEST(CliArguments, ExitCodesAndCauses) {
  struct Case {
    std::vector<const char*> words;
    ExitCode code;
    const char* text;  ///< in the error, or in the output when there is no error
    const char* command;
  };
  const Case cases[] = {
      {{"--simulate", "info"}, ExitCode::kOk, "", "info"},
      {{"reset", "--port-number", "3"}, ExitCode::kOk, "", "reset"},
      {{"load", "fw.hex"}, ExitCode::kOk, "", "load"},
      {{}, ExitCode::kBadArguments, "no subcommand", nullptr},
      {{"frob"}, ExitCode::kBadArguments, "unknown subcommand frob", nullptr},
      {{"info", "--bogus"}, ExitCode::kBadArguments, "bogus", nullptr},
      {{"info", "extra"}, ExitCode::kBadArguments, "info takes no further words", nullptr},
      {{"load"}, ExitCode::kBadArguments, "load FILE", nullptr},
      {{"capture"}, ExitCode::kBadArguments, "needs -n", nullptr},
      {{"capture", "-n", "0"}, ExitCode::kBadArguments, "-n 0", nullptr},
      {{"capture", "-n", "16777217"}, ExitCode::kBadArguments, "1..16777216", nullptr},
      {{"capture", "-n", "9", "-o", ""}, ExitCode::kBadArguments, "-o needs", nullptr},
      {{"capture", "-n", "9", "--gain", "3"}, ExitCode::kBadArguments, "--gain 3", nullptr},
      {{"setup", "--gain", "256"}, ExitCode::kBadArguments, "--gain 256", nullptr},
      {{"setup", "--decimation", "2048"}, ExitCode::kBadArguments, "1..2047", nullptr},
      {{"setup", "--rate", "-5"}, ExitCode::kBadArguments, "--rate -5", nullptr},
      {{"setup", "--divider", "128"}, ExitCode::kBadArguments, "0..127", nullptr},
      {{"setup", "--offset-dac", "-128"}, ExitCode::kBadArguments, "-127..127", nullptr},
      {{"setup", "--filter", "sinc4"}, ExitCode::kBadArguments, "--filter sinc4", nullptr},
      {{"setup", "--reference", "5"}, ExitCode::kBadArguments, "--reference 5", nullptr},
      {{"setup", "--channels", "AIN8,AINCOM"}, ExitCode::kBadArguments, "POS,NEG", nullptr},
      {{"setup", "--chip-averaging", "averaging"}, ExitCode::kBadArguments, "averaging:N", nullptr},
      {{"setup", "--chip-averaging", "none:4"}, ExitCode::kBadArguments, "averaging:N", nullptr},
      {{"setup", "--rate", "50", "--decimation", "100"},
       ExitCode::kBadArguments,
       "contradict",
       nullptr},
      {{"setup", "--temperature", "--channels", "AIN0,AINCOM"},
       ExitCode::kBadArguments,
       "contradict",
       nullptr},
      {{"setup", "--polarity", "unipolar", "--chip-averaging", "averaging:129"},
       ExitCode::kBadArguments,
       "contradicts --polarity unipolar",
       nullptr},
      {{"--blank-board", "info"},
       ExitCode::kBadArguments,
       "--blank-board needs --simulate",
       nullptr},
      {{"--sim-mains=50,0.1", "info"},
       ExitCode::kBadArguments,
       "--sim-mains needs --simulate",
       nullptr},
      {{"--simulate", "--sim-mains=70,0.1", "info"}, ExitCode::kBadArguments, "45", nullptr},
      {{"--port-number", "257", "info"}, ExitCode::kBadArguments, "1..256", nullptr},
      {{"--port", "/dev/ttyUSB0", "--port-number", "2", "info"},
       ExitCode::kBadArguments,
       "contradict",
       nullptr},
      {{"--clock", "25", "info"}, ExitCode::kBadArguments, "1..24 MHz", nullptr},
      {{"--help"}, ExitCode::kOk, "capture -n N [-o FILE]", nullptr},
      {{"capture", "--help"}, ExitCode::kOk, "--chip-averaging", nullptr},
      {{"--version"}, ExitCode::kOk, "korvane-cli 1.", nullptr},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* word : c.words) line += std::string(word) + " ";
    SCOPED_TRACE(line);
    const ParsedArguments parsed = Parse(c.words);
    EXPECT_EQ(parsed.code, c.code);
    EXPECT_NE((parsed.error.empty() ? parsed.output : parsed.error).find(c.text), std::string::npos)
        << parsed.error << parsed.output;
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    EXPECT_STREQ(parsed.command ? parsed.command->name : nullptr, c.command);
  }
}

// The options land where the subcommand reads them, in any order after the subcommand.
TEST(CliArguments, OptionsReachTheRequest) {
  const ParsedArguments parsed = Parse({"capture",
                                        "--gain",
                                        "16",
                                        "--simulate",
                                        "--sim-sine=AIN0,0.5,17.3",
                                        "-n",
                                        "2000",
                                        "--filter",
                                        "SINC2",
                                        "--channels",
                                        "AIN1,AINCOM",
                                        "--chip-averaging",
                                        "filtering:8",
                                        "--polarity",
                                        "unipolar",
                                        "--reference",
                                        "1.25",
                                        "--buffer",
                                        "on",
                                        "--burn-out",
                                        "off",
                                        "--calibration",
                                        "system-gain",
                                        "--divider",
                                        "3",
                                        "--rate",
                                        "60.5",
                                        "--offset-dac",
                                        "-7",
                                        "-o",
                                        "x.csv",
                                        "--json",
                                        "--port-number",
                                        "4",
                                        "--clock",
                                        "11.0592"});
  ASSERT_EQ(parsed.error, "");
  const CliRequest& r = parsed.request;
  EXPECT_TRUE(r.shared.simulation.simulate);
  EXPECT_EQ(r.shared.simulation.input_signals.sines.size(), 1u);
  EXPECT_EQ(r.shared.port_number, 4);
  EXPECT_EQ(r.shared.clock_mhz, 11.0592);
  EXPECT_TRUE(r.shared.json);
  EXPECT_EQ(r.readings, 2000);
  EXPECT_EQ(r.output_path, "x.csv");
  EXPECT_EQ(r.adc.gain_exp, 4);
  EXPECT_EQ(r.adc.filter, 2);
  EXPECT_EQ(r.adc.positive, 1);
  EXPECT_EQ(r.adc.negative, 8);
  EXPECT_EQ(r.adc.chip_mode, 2);
  EXPECT_EQ(r.adc.chip_count, 8);
  EXPECT_EQ(r.adc.unipolar, true);
  EXPECT_EQ(r.adc.reference, 2);
  EXPECT_EQ(r.adc.buffer, true);
  EXPECT_EQ(r.adc.burn_out, false);
  EXPECT_EQ(r.adc.calibration, 5);
  EXPECT_EQ(r.adc.divider, 3);
  EXPECT_EQ(r.adc.rate_hz, 60.5);
  EXPECT_EQ(r.adc.offset_dac, -7);
}

}  // namespace
}  // namespace korvane
