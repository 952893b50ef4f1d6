#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "form/controls.h"

namespace korvane {

/// The main window's state: every control under its own name with its design-time caption,
/// default, items, visibility and tool tip, and the form-level fields every subsystem shares.
class Form {
 public:
  Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The window itself; disabling it blocks user input but never the close button.
  Control frmKorvane_Demo{"frmKorvane_Demo", "Halvern  Korvane  ADC  Demo  Program"};

  Control mnuFile{"mnuFile", "&File"};
  Button mnuFileExit{"mnuFileExit", "E&xit"};

  std::array<Button, 3> cmdCntr{Button{"cmdCntr_0", "&Load Korvane"},
                                Button{"cmdCntr_1", "&Set ADC"}, Button{"cmdCntr_2", "Run &ADC"}};
  Button cmdReset{"cmdReset", "&RESET"};

  // Measurement side.
  Frame fraMeasADC{"fraMeasADC", "Korvane ADC Data"};
  CheckBox chkTermWindow{"chkTermWindow", "CommSpy"};
  CheckBox chkLogFile{"chkLogFile", "Log File"};
  CheckBox chkAutoZero{"chkAutoZero", "AutoZero"};
  Frame Frame2{"Frame2", "Display"};
  std::array<OptionButton, 3> optDataShow{OptionButton{"optDataShow_0", "V"},
                                          OptionButton{"optDataShow_1", "Dec"},
                                          OptionButton{"optDataShow_2", "Hex"}};
  Frame fraStDev{"fraStDev", "  PC  Averaging"};
  TextBox txtDeviation{"txtDeviation", "0.0"};
  TextBox txtAverNumb{"txtAverNumb", "50"};
  TextBox txtEfBits{"txtEfBits", "0.0"};
  std::array<Label, 4> Label23{Label{"Label23_0", "ENOB"}, Label{"Label23_1"},
                               Label{"Label23_2", " Sample"}, Label{"Label23_3", "SDEV  LSB"}};
  Frame fraADCmode{"fraADCmode", "Calculate in Korvane"};
  ComboBox cboAvgFil{"cboAvgFil", {"None", "Averaging", "Filtering"}};
  TextBox txtPartMode{"txtPartMode", "32"};
  Label lblPartMode{"lblPartMode", "Average N=1...255"};
  Frame fraDataMode{"fraDataMode", "Data Sampling"};
  ComboBox cboSampling{"cboSampling", {"Once", "Sample", "Continuous"}};
  Label txtDisplay{"txtDisplay", "+0.00000000"};
  Label lblRazmernst{"lblRazmernst", "V"};
  Label lblAver{"lblAver", "Ave."};
  std::array<Line, 5> linSep{Line{"linSep_0"}, Line{"linSep_1"}, Line{"linSep_2"}, Line{"linSep_3"},
                             Line{"linSep_4"}};

  // Settings side.
  Frame fraADCset{"fraADCset", "Korvane ADC Settings"};
  Frame frmADCset{"frmADCset", "ADC Setting"};
  Frame FraFreq{"FraFreq", "Frequency"};
  std::array<Frame, 6> Frame1{Frame{"Frame1_0", "Calibration"},
                              Frame{"Frame1_1", "Polarity"},
                              Frame{"Frame1_2"},
                              Frame{"Frame1_3", "Filter"},
                              Frame{"Frame1_4", "Input Channels"},
                              Frame{"Frame1_5", "Reference"}};
  ComboBox cboFilter{"cboFilter", {"Auto", "Fast", "Sinc2", "Sinc3"}};
  ComboBox cboCalibr{"cboCalibr",
                     {"Off", "Self, Offset and Gain", "Self, Offset only", "Self, Gain only",
                      "System, Offset only", "System, Gain only"}};
  TextBox txtPGAGain{"txtPGAGain", "1"};
  std::array<Button, 2> cmdGainChange{Button{"cmdGainChange_0", "<"},
                                      Button{"cmdGainChange_1", ">"}};
  std::array<Label, 8> label2{
      Label{"label2_0", "PGA Gain"},          Label{"label2_1", "Decimation Ratio, 8...2047"},
      Label{"label2_2", "ACLK Reg, 0...127"}, Label{"label2_3", "Modulator Freq, kHz"},
      Label{"label2_4", "Fdata, Hz"},         Label{"label2_5", "Tdata, mS"},
      Label{"label2_6", "-127...+127"},       Label{"label2_7", "Clock Frequency, MHz"}};
  std::array<OptionButton, 3> optRef{OptionButton{"optRef_0", "Ext"},
                                     OptionButton{"optRef_1", "2.5V"},
                                     OptionButton{"optRef_2", "1.25V"}};
  CheckBox chkBuffer{"chkBuffer", "Buffer ON"};
  CheckBox chkBOD{"chkBOD", "Burn Out Detect ON"};
  std::array<OptionButton, 2> optPolarity{OptionButton{"optPolarity_0", "Bipolar"},
                                          OptionButton{"optPolarity_1", "Unipolar"}};
  Label lblPolRange{"lblPolRange", "Range: 800000....7FFFFFh"};
  std::array<OptionButton, 2> optADCinput{OptionButton{"optADCinput_0", "Analog"},
                                          OptionButton{"optADCinput_1", "Temperature"}};
  std::array<TextBox, 2> txtChannel{TextBox{"txtChannel_0", "AINCOM"},
                                    TextBox{"txtChannel_1", "AINCOM"}};
  std::array<Button, 4> cmdChanelMinusPlus{
      Button{"cmdChanelMinusPlus_0", "<"}, Button{"cmdChanelMinusPlus_1", ">"},
      Button{"cmdChanelMinusPlus_2", "<"}, Button{"cmdChanelMinusPlus_3", ">"}};
  std::array<Label, 4> Label1{Label{"Label1_0"}, Label{"Label1_1"},
                              Label{"Label1_2", "Positive Input"},
                              Label{"Label1_3", "Negative Input"}};
  Frame fraOffsetDAC{"fraOffsetDAC", "Offset DAC"};
  Button cmdODAC{"cmdODAC", "Load DAC"};
  TextBox txtOfstDAC{"txtOfstDAC", "0"};
  TextBox txtFreq{"txtFreq", "1.843200"};
  TextBox txtAClock{"txtAClock", "0"};
  TextBox txtDecimation{"txtDecimation", "1920"};
  TextBox txtFMod{"txtFMod", "?"};
  TextBox txtFdata{"txtFdata", "?"};
  TextBox txtTdata{"txtTdata", "?"};
  std::array<Line, 2> Line1{Line{"Line1_0"}, Line{"Line1_1"}};

  // Status bar: Msg, Progress, FSR, ComSettings, Version (one-based positions 1..5).
  std::array<StatusPanel, 5> StatusBar1{StatusPanel{"Msg", 350}, StatusPanel{"Progress", 96},
                                        StatusPanel{"FSR", 120}, StatusPanel{"ComSettings", 133},
                                        StatusPanel{"Version", 27}};
  ProgressBar prgProgress{"prgProgress"};

  /// Status bar panel by one-based position.
  StatusPanel& Panel(int position) { return StatusBar1.at(static_cast<std::size_t>(position - 1)); }

  // Form-level fields.
  bool TestGo = false;
  bool PrgmGo = false;
  bool Sound = true;
  bool NeedReset = false;
  bool TimerExpired = false;
  bool AdcNotSet = true;
  std::int16_t PortNumber = 0;
  std::string BaudRate;
  std::string ReloadHi;
  std::string ReloadLo;
  std::string ClkCmdFB, ClkCmdFC, ClkCmdFD, ClkCmdEF, ClkCmdFE;
  std::int32_t PgaGainExp = 0;
  std::int32_t PosChannel = 8;
  std::int32_t NegChannel = 8;
  std::array<std::string, 16> ChannelNames{};
  std::int16_t AutoZeroBits = 0;
  double VoltsPerCode = 0.0;
  double FullScaleRange = 0.0;
  std::int32_t AverNumb = 50;
  double MeanCode = 0.0;
  /// Milliseconds one reading of the current run takes (the data period, times N when the chip
  /// averages); 0 when unknown. The time graph's crosshair reads times from it.
  double ReadingPeriodMs = 0.0;
  std::array<std::int32_t, 5001> Samples{};
  std::int32_t DecTrack = 0;
  /// Clock frequency in MHz as the last ADC set-up read and clamped it (1..32).
  double ClockMHz = 0.0;
  /// Reference voltage the last ADC set-up assumed for conversions.
  double RefVolts = 0.0;
  /// State of the acquisition run: 1 while a run goes on, 0 at its end and after an ADC set-up.
  std::int32_t RunState = 0;

  /// Fills `ChannelNames`: AIN0..AIN7, AINCOM, DIODE, then "xxx".
  void FillChannelNames();

  /// Calls `visit(control)` for every control of the window, in layout order.
  template <typename Visitor>
  void ForEachControl(Visitor&& visit);

 private:
  OptionGroup data_show_group_;
  OptionGroup ref_group_;
  OptionGroup polarity_group_;
  OptionGroup input_group_;
};

template <typename Visitor>
void Form::ForEachControl(Visitor&& visit) {
  auto each = [&](auto& array) {
    for (auto& control : array) visit(control);
  };
  visit(frmKorvane_Demo);
  visit(mnuFile);
  visit(mnuFileExit);
  each(cmdCntr);
  visit(cmdReset);
  visit(fraMeasADC);
  visit(chkTermWindow);
  visit(chkLogFile);
  visit(chkAutoZero);
  visit(Frame2);
  each(optDataShow);
  visit(fraStDev);
  visit(txtDeviation);
  visit(txtAverNumb);
  visit(txtEfBits);
  each(Label23);
  visit(fraADCmode);
  visit(cboAvgFil);
  visit(txtPartMode);
  visit(lblPartMode);
  visit(fraDataMode);
  visit(cboSampling);
  visit(txtDisplay);
  visit(lblRazmernst);
  visit(lblAver);
  each(linSep);
  visit(fraADCset);
  visit(frmADCset);
  visit(FraFreq);
  each(Frame1);
  visit(cboFilter);
  visit(cboCalibr);
  visit(txtPGAGain);
  each(cmdGainChange);
  each(label2);
  each(optRef);
  visit(chkBuffer);
  visit(chkBOD);
  each(optPolarity);
  visit(lblPolRange);
  each(optADCinput);
  each(txtChannel);
  each(cmdChanelMinusPlus);
  each(Label1);
  visit(fraOffsetDAC);
  visit(cmdODAC);
  visit(txtOfstDAC);
  visit(txtFreq);
  visit(txtAClock);
  visit(txtDecimation);
  visit(txtFMod);
  visit(txtFdata);
  visit(txtTdata);
  each(Line1);
  each(StatusBar1);
  visit(prgProgress);
}

}  // namespace korvane
