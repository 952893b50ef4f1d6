#include "app/main_form.h"

#include "acquisition/display_mode.h"
#include "adcconfig/settings_handlers.h"
#include "app/command_line.h"
#include "common/version.h"

namespace korvane {

std::string VersionText() {
  return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionPatch);
}

MainForm::MainForm(Form& form, const PlatformServices& platform)
    : form_(form),
      platform_(platform),
      link_(form, platform.time, platform.port, platform.dialogs),
      discovery_(form, link_),
      adc_setup_(form, link_),
      settings_panel_(form),
      sampling_selectors_(form),
      offset_dac_(form, link_),
      loader_(form, link_, discovery_),
      reset_(form, link_, discovery_, platform.adc_graph, platform.histo),
      presenter_(form, platform.adc_graph),
      noise_(form, platform.adc_graph),
      histogram_(form, platform.histo),
      run_(form, link_, platform.adc_graph, platform.histo, presenter_, noise_, histogram_),
      command_buttons_(form, link_, {loader_, adc_setup_, reset_, run_, platform.adc_graph}),
      port_loss_notice_(form, platform.port),
      port_reconnect_(platform.time, platform.port, [this](int) { ResetAfterReconnect(); }),
      run_data_(form, run_, platform.port, platform.adc_graph, histogram_, VersionText(),
                platform.time) {
  WireHandlers();
}

void MainForm::WireHandlers() {
  form_.chkTermWindow.SetOnClick([this] { link_.chkTermWindow_Click(); });
  form_.cmdReset.SetOnClick(UserAction([this] { cmdReset_Click(); }));
  for (int i = 0; i < static_cast<int>(form_.cmdCntr.size()); ++i) {
    form_.cmdCntr[static_cast<std::size_t>(i)].SetOnClick(
        UserAction([this, i] { command_buttons_.cmdCntr_Click(i); }));
  }
  for (auto& option : form_.optDataShow) option.SetOnClick([this] { optDataShow_Click(form_); });
  discovery_.SetResetBoard([this] { reset_.ResetBoard(); });
  reset_.SetLoadProgram([this] { return command_buttons_.LoadProgramWithStopButton(); });

  WireSettingsHandlers(form_, settings_panel_, sampling_selectors_, offset_dac_);
  form_.cmdODAC.SetOnClick(UserAction([this] { offset_dac_.cmdODAC_Click(); }));
}

void MainForm::cmdReset_Click() {
  if (!link_.ExchangeUnderWay()) {
    const BoardLink::Exchange exchange(link_);
    return reset_.cmdReset_Click();
  }
  // RESET comes back as soon as "Stop &ADC" is clicked, while the run still ends its stream:
  // the reset follows the run. While it is disabled nothing may start it.
  if (!form_.cmdReset.Enabled() || reset_queued_) return;
  reset_queued_ = true;
  link_.AfterExchange([this] {
    reset_queued_ = false;
    form_.cmdReset.Click();
  });
}

void MainForm::UsePort(int port_number) {
  if (port_number < 1) return;
  form_.PortNumber = static_cast<std::int16_t>(port_number);
  form_.cmdReset.Click();
}

void MainForm::ResetAfterReconnect() {
  if (form_.TestGo && command_buttons_.IsStopClick(2)) form_.cmdCntr[2].Click();
  if (form_.PrgmGo && command_buttons_.IsStopClick(0)) form_.cmdCntr[0].Click();
  link_.AfterExchange([this] {
    if (platform_.port.IsPortOpen()) return;  // reset by the user meanwhile
    {
      const BoardLink::Exchange exchange(link_);
      reset_.cmdReset_Click();
    }
    if (platform_.port.IsPortOpen() &&
        form_.Panel(1).Text() == BoardReset::ResetDoneText(form_.PortNumber, form_.BaudRate)) {
      form_.Panel(1).SetText(PortReconnect::Text(form_.PortNumber));
    }
  });
}

std::function<void()> MainForm::UserAction(std::function<void()> action) {
  return [this, action = std::move(action)] {
    action();
    port_loss_notice_.ShowIfStillLost();
  };
}

void MainForm::Form_Load() {
  form_.NeedReset = false;

  platform_.adc_graph.SetBackgroundColor(form_.frmKorvane_Demo.BackColor());
  platform_.histo.SetBackgroundColor(platform_.adc_graph.BackgroundColor());

  form_.cboCalibr.SetListIndex(1);
  form_.cboFilter.SetListIndex(3);
  form_.cboSampling.SetListIndex(2);
  form_.cboAvgFil.SetListIndex(0);

  form_.Panel(5).SetText(VersionText());

  form_.prgProgress.SetMin(0);
  form_.prgProgress.SetMax(8);
  form_.prgProgress.SetVisible(true);
  DockProgressBar();

  if (platform_.process.AnotherInstanceRunning()) {
    platform_.dialogs.MessageBox("You already have one instance of this program running",
                                 MessageIcon::kNone);
  }

  form_.Sound = true;
  form_.PortNumber = 0;
  const std::string stored =
      platform_.settings.Read(kSettingsApplication, kSettingsSection, kPortKey, "0");
  const auto choices =
      ParseCommandLine(platform_.process.CommandLineText(), PortFromStoredValue(stored));
  form_.Sound = choices.Sound;
  form_.PortNumber = choices.PortNumber;
  if (choices.FreqText) form_.txtFreq.SetText(*choices.FreqText);
  if (choices.TooManyWords) {
    platform_.dialogs.MessageBox("Errors in program comand line", MessageIcon::kNone);
  }
  double freq = choices.Freq;

  form_.Panel(1).SetText(kWelcome);

  link_.PumpEvents();
  link_.Wait(200);

  form_.TestGo = false;
  form_.PrgmGo = false;
  form_.PgaGainExp = 0;
  form_.NegChannel = 8;
  form_.PosChannel = 8;
  form_.FillChannelNames();

  form_.frmKorvane_Demo.SetEnabled(false);
  form_.frmKorvane_Demo.SetVisible(true);
  HideSeparators(form_);
  {
    const BoardLink::Exchange exchange(link_);
    discovery_.FindBoard(form_.PortNumber, freq);
  }
  form_.frmKorvane_Demo.SetEnabled(true);
  port_loss_notice_.ShowIfStillLost();
}

void MainForm::DockProgressBar() {
  // The view lays the bar over the status bar's second panel for as long as it is visible.
  form_.prgProgress.SetVisible(true);
  form_.prgProgress.SetValue(0);
}

void MainForm::Form_Unload() {
  SaveAndClose();
  platform_.process.EndNow();
}

void MainForm::SaveAndClose() {
  run_data_.Finish();  // a recording under way gets its name before the program ends
  platform_.settings.Write(kSettingsApplication, kSettingsSection, kPortKey,
                           platform_.port.CommPort());
  if (platform_.port.IsPortOpen()) platform_.port.ClosePort();
  platform_.port.SetCaptureFile("");
}

}  // namespace korvane
