#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "app/view/main_window.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

/// The real window on the program's logic, after start-up against a simulated board whose
/// program runs, so that handlers that talk to the board get their answers.
class SettingsPanelViewTest : public ::testing::Test {
 protected:
  SettingsPanelViewTest() : rig(1, BoardAt1843200Hz()) {
    rig.main.Form_Load();  // ends with the board program running after its reset
    window = std::make_unique<MainWindow>(rig.form);
    window->resize(1280, 800);
    window->show();
    QApplication::processEvents();
  }

  static BoardOptions BoardAt1843200Hz() {
    BoardOptions options;
    options.clock_mhz = 1.8432;
    return options;
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  /// Clicks near the left end, where the indicator and caption of a wide option or box lie.
  void Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    const QPoint near_left(std::min(10, button->width() / 2), button->height() / 2);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, near_left);
  }

  void Type(const char* box_name, const char* text) {
    auto* box = Find<QLineEdit>(box_name);
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(text));
  }

  std::string Text(const char* box_name) { return Find<QLineEdit>(box_name)->text().toStdString(); }
  std::string LabelText(const char* name) { return Find<QLabel>(name)->text().toStdString(); }
  bool Shown(const char* name) { return Find<QWidget>(name)->isVisible(); }

  /// Share of the widget's painted pixels in the highlight colour, light yellow.
  double HighlightedShare(const char* name) {
    const QImage image = Find<QWidget>(name)->grab().toImage();
    int yellow = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == QColor(255, 255, 192)) ++yellow;
      }
    }
    return static_cast<double>(yellow) / (image.width() * image.height());
  }

  ScenarioRig rig;
  std::unique_ptr<MainWindow> window;
};

TEST_F(SettingsPanelViewTest, StartUpStateIsWhatTheWindowShows) {
  EXPECT_TRUE(Shown("fraStDev"));
  EXPECT_FALSE(Shown("lblAver"));
  EXPECT_FALSE(Shown("txtPartMode"));
  EXPECT_FALSE(Shown("lblPartMode"));
  EXPECT_EQ(Find<QComboBox>("cboCalibr")->currentText(), "Self, Offset and Gain");
  EXPECT_EQ(Find<QComboBox>("cboFilter")->currentText(), "Sinc3");
  EXPECT_EQ(Find<QComboBox>("cboSampling")->currentText(), "Continuous");
  EXPECT_EQ(Find<QComboBox>("cboAvgFil")->currentText(), "None");
  for (const char* box :
       {"txtPGAGain", "txtChannel_0", "txtChannel_1", "txtFMod", "txtFdata", "txtTdata"}) {
    EXPECT_TRUE(Find<QLineEdit>(box)->isReadOnly()) << box;
  }
}

TEST_F(SettingsPanelViewTest, SteppingButtonsChangeTheGainAndChannelBoxes) {
  Click("cmdGainChange_0");
  EXPECT_EQ(Text("txtPGAGain"), "128");
  Click("cmdGainChange_1");
  Click("cmdGainChange_1");
  EXPECT_EQ(Text("txtPGAGain"), "2");
  EXPECT_EQ(rig.form.PgaGainExp, 1);

  Click("cmdChanelMinusPlus_1");
  EXPECT_EQ(Text("txtChannel_0"), "DIODE");
  Click("cmdChanelMinusPlus_1");
  EXPECT_EQ(Text("txtChannel_0"), "AIN0");
  Click("cmdChanelMinusPlus_2");
  EXPECT_EQ(Text("txtChannel_1"), "AIN7");
  Click("cmdChanelMinusPlus_3");
  Click("cmdChanelMinusPlus_3");
  EXPECT_EQ(Text("txtChannel_1"), "DIODE");
  EXPECT_EQ(Text("txtChannel_0"), "AIN0");
}

TEST_F(SettingsPanelViewTest, TemperatureAndAutoZeroSwitchTheInputsInTheWindow) {
  Click("chkAutoZero");
  Click("optADCinput_1");
  EXPECT_EQ(Text("txtChannel_0"), "DIODE");
  EXPECT_EQ(Text("txtChannel_1"), "DIODE");
  EXPECT_EQ(LabelText("lblRazmernst"), "C");
  EXPECT_FALSE(Find<QCheckBox>("chkAutoZero")->isChecked());
  for (const char* name : {"cmdChanelMinusPlus_0", "cmdChanelMinusPlus_1", "cmdChanelMinusPlus_2",
                           "cmdChanelMinusPlus_3"}) {
    EXPECT_FALSE(Find<QPushButton>(name)->isEnabled()) << name;
  }
  Click("cmdChanelMinusPlus_1");
  EXPECT_EQ(Text("txtChannel_0"), "DIODE") << "a disabled button does nothing";

  Click("chkAutoZero");
  EXPECT_TRUE(Find<QCheckBox>("chkAutoZero")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("optADCinput_0")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("optADCinput_1")->isChecked());
  EXPECT_EQ(Text("txtChannel_0"), "AINCOM");
  EXPECT_EQ(Text("txtChannel_1"), "AINCOM");
  EXPECT_EQ(LabelText("lblRazmernst"), "V");
  EXPECT_TRUE(Find<QPushButton>("cmdChanelMinusPlus_0")->isEnabled());
  EXPECT_EQ(rig.form.AutoZeroBits, 128);
}

TEST_F(SettingsPanelViewTest, ChosenPolarityAndTickedBoxesArePaintedLightYellow) {
  EXPECT_EQ(HighlightedShare("optPolarity_0"), 0.0) << "no highlight before any choice";
  Click("optPolarity_1");
  EXPECT_EQ(LabelText("lblPolRange"), "Range: 000000....FFFFFFh");
  EXPECT_GT(HighlightedShare("optPolarity_1"), 0.5);
  EXPECT_EQ(HighlightedShare("optPolarity_0"), 0.0);
  Click("optPolarity_0");
  EXPECT_EQ(LabelText("lblPolRange"), "Range: 800000....7FFFFFh");
  EXPECT_GT(HighlightedShare("optPolarity_0"), 0.5);
  EXPECT_EQ(HighlightedShare("optPolarity_1"), 0.0);

  Click("chkBuffer");
  EXPECT_GT(HighlightedShare("chkBuffer"), 0.5);
  Click("chkBuffer");
  EXPECT_EQ(HighlightedShare("chkBuffer"), 0.0);
  Click("chkBOD");
  EXPECT_GT(HighlightedShare("chkBOD"), 0.5);

  rig.form.optRef[1].SetBackColor(0xC0FFFF);
  EXPECT_GT(HighlightedShare("optRef_1"), 0.5);
  Click("optRef_2");
  for (const char* name : {"optRef_0", "optRef_1", "optRef_2"}) {
    EXPECT_EQ(HighlightedShare(name), 0.0) << name;
  }
}

TEST_F(SettingsPanelViewTest, SamplingChoicesShowAndHideTheAveragingControls) {
  auto* averaging = Find<QComboBox>("cboAvgFil");
  QTest::keyClick(averaging, Qt::Key_Down);
  EXPECT_EQ(averaging->currentText(), "Averaging");
  EXPECT_TRUE(Shown("txtPartMode"));
  EXPECT_TRUE(Shown("lblPartMode"));
  EXPECT_EQ(LabelText("lblPartMode"), "Average N=1...255");
  QTest::keyClick(averaging, Qt::Key_Down);
  EXPECT_EQ(LabelText("lblPartMode"), "Filter N=1...255");

  auto* sampling = Find<QComboBox>("cboSampling");
  QTest::keyClick(sampling, Qt::Key_Up);
  EXPECT_EQ(sampling->currentText(), "Sample");
  EXPECT_TRUE(Shown("lblAver"));
  EXPECT_TRUE(Shown("fraStDev"));
  QTest::keyClick(sampling, Qt::Key_Up);
  EXPECT_EQ(sampling->currentText(), "Once");
  EXPECT_FALSE(Shown("lblAver"));
  EXPECT_FALSE(Shown("fraStDev"));
  EXPECT_EQ(averaging->currentText(), "None");
  EXPECT_FALSE(Shown("txtPartMode"));
  EXPECT_FALSE(Shown("lblPartMode"));
}

TEST_F(SettingsPanelViewTest, LoadDacShowsTheClampedValueAndLoadsTheBoard) {
  Type("txtOfstDAC", "200");
  Click("cmdODAC");
  EXPECT_EQ(Text("txtOfstDAC"), "127");
  EXPECT_EQ(rig.board.Sfr(0xE6), 0xFF);
  EXPECT_EQ(LabelText("Msg"), "OFFSET  DAC  LOADED");

  Type("txtOfstDAC", "-1");
  Click("cmdODAC");
  EXPECT_EQ(Text("txtOfstDAC"), "-1");
  EXPECT_EQ(rig.board.Sfr(0xE6), 0x00);
}

TEST_F(SettingsPanelViewTest, AdcSetUpShowsTheNormalisedAndDerivedValues) {
  Type("txtFreq", "1.843200");
  Type("txtAClock", "1.6");
  EXPECT_TRUE(rig.form.AdcNotSet);
  rig.main.adc_setup().SetADC();
  EXPECT_EQ(Text("txtFreq"), "1.8432");
  EXPECT_EQ(Text("txtAClock"), "2");
  EXPECT_EQ(Text("txtFMod"), "9.6");
  EXPECT_EQ(Text("txtFdata"), "5");
  EXPECT_EQ(Text("txtTdata"), "200");
  EXPECT_EQ(LabelText("Msg"), "Korvane ADC IS SET");
  EXPECT_FALSE(rig.form.AdcNotSet);
  EXPECT_EQ(rig.board.Sfr(0xF6), 0x02);
}

}  // namespace
}  // namespace korvane
