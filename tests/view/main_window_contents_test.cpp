#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <cmath>
#include <type_traits>
#include <vector>

#include "app/view/qt_chart.h"
#include "main_window_fixture.h"

namespace korvane {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QStringList ItemsOf(const QComboBox& combo) {
  QStringList items;
  for (int index = 0; index < combo.count(); ++index) items << combo.itemText(index);
  return items;
}

/// What the widget shows as its text: a frame's or menu's title, a button's, label's or box's text.
QString ShownText(QWidget* widget) {
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
  if (auto* menu = qobject_cast<QMenu*>(widget)) return menu->title();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text();
  return {};
}

TEST_F(MainWindowTest, EveryControlHasOneWidgetNamedAfterItShowingItsModel) {
  EXPECT_EQ(window.objectName(), "frmKorvane_Demo");
  form.ForEachControl([&](auto& model) {
    using Model = std::decay_t<decltype(model)>;
    const std::string& name = model.Name();
    if (name == "frmKorvane_Demo") return;
    SCOPED_TRACE(name);
    if (name == "mnuFileExit") {
      QAction* item = Find<QAction>(name);
      ASSERT_NE(item, nullptr);
      EXPECT_EQ(item->text(), Q(model.Caption()));
      return;
    }
    QWidget* widget = Find<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    if (name != "mnuFile") {
      EXPECT_EQ(widget->isHidden(), !model.Visible());
    }
    EXPECT_EQ(widget->isEnabled(), model.Enabled());
    if (!model.ToolTip().empty()) {
      EXPECT_EQ(widget->toolTip(), Q(model.ToolTip()));
    }

    if constexpr (std::is_same_v<Model, Button>) {
      EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), Q(model.Caption()));
    } else if constexpr (std::is_same_v<Model, CheckBox>) {
      auto* box = qobject_cast<QCheckBox*>(widget);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), Q(model.Caption()));
      EXPECT_EQ(box->isChecked(), model.Value() == 1);
    } else if constexpr (std::is_same_v<Model, OptionButton>) {
      auto* option = qobject_cast<QRadioButton*>(widget);
      ASSERT_NE(option, nullptr);
      EXPECT_EQ(option->text(), Q(model.Caption()));
      EXPECT_EQ(option->isChecked(), model.Value());
    } else if constexpr (std::is_same_v<Model, ComboBox>) {
      auto* combo = qobject_cast<QComboBox*>(widget);
      ASSERT_NE(combo, nullptr);
      ASSERT_EQ(combo->count(), static_cast<int>(model.Items().size()));
      for (int index = 0; index < combo->count(); ++index) {
        EXPECT_EQ(combo->itemText(index), Q(model.Items()[static_cast<std::size_t>(index)]));
      }
      EXPECT_EQ(combo->currentIndex(), model.ListIndex());
    } else if constexpr (std::is_same_v<Model, TextBox>) {
      auto* box = qobject_cast<QLineEdit*>(widget);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), Q(model.Text()));
    } else if constexpr (std::is_same_v<Model, StatusPanel>) {
      EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), Q(model.Text()));
    } else if constexpr (std::is_same_v<Model, ProgressBar>) {
      auto* bar = qobject_cast<QProgressBar*>(widget);
      ASSERT_NE(bar, nullptr);
      EXPECT_EQ(bar->minimum(), model.Min());
      EXPECT_EQ(bar->maximum(), model.Max());
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
      EXPECT_EQ(frame->title(), Q(model.Caption()));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->text(), Q(model.Caption()));
    } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
      EXPECT_EQ(menu->title(), Q(model.Caption()));
    }
  });
  EXPECT_NE(Find<QtChart>("ADCGraph"), nullptr);
  EXPECT_NE(Find<QtChart>("Histo"), nullptr);
}

/// The texts, items and choices the user first sees. Visibility and the captions the form's own
/// tests pin down are compared with their models above.
TEST_F(MainWindowTest, ShowsTheDesignTimeTextsItemsAndSelections) {
  EXPECT_EQ(window.windowTitle(), Q(form.frmKorvane_Demo.Caption()));
  EXPECT_TRUE(window.menuBar()->actions().contains(Find<QMenu>("mnuFile")->menuAction()));
  const std::vector<std::pair<std::string, QStringList>> lists = {
      {"cboSampling", {"Once", "Sample", "Continuous"}},
      {"cboAvgFil", {"None", "Averaging", "Filtering"}},
      {"cboFilter", {"Auto", "Fast", "Sinc2", "Sinc3"}},
      {"cboCalibr",
       {"Off", "Self, Offset and Gain", "Self, Offset only", "Self, Gain only",
        "System, Offset only", "System, Gain only"}}};
  for (const auto& [name, items] : lists) EXPECT_EQ(ItemsOf(*Find<QComboBox>(name)), items) << name;
  for (const char* chosen : {"optRef_1", "optDataShow_0", "optPolarity_0", "optADCinput_0"}) {
    EXPECT_TRUE(Find<QRadioButton>(chosen)->isChecked()) << chosen;
  }
  const std::vector<std::pair<std::string, QString>> texts = {{"fraMeasADC", "Korvane ADC Data"},
                                                              {"fraADCset", "Korvane ADC Settings"},
                                                              {"fraStDev", "  PC  Averaging"},
                                                              {"cmdReset", "&RESET"},
                                                              {"Label23_3", "SDEV  LSB"},
                                                              {"txtDisplay", "+0.00000000"},
                                                              {"txtFreq", "1.843200"},
                                                              {"txtDecimation", "1920"},
                                                              {"mnuFile", "&File"},
                                                              {"mnuGraph", "&Graph"}};
  for (const auto& [name, text] : texts) EXPECT_EQ(ShownText(Find<QWidget>(name)), text) << name;
  EXPECT_EQ(Find<QAction>("mnuFileExit")->text(), "E&xit");
  const std::vector<std::pair<std::string, QString>> tips = {
      {"optDataShow_2", "Hexidecimal"},
      {"optDataShow_1", "Decimal"},
      {"optDataShow_0", "Volts or Degree Cels."},
      {"txtAverNumb", "Number of samples to calculate ENOB"}};
  for (const auto& [name, tip] : tips) EXPECT_EQ(Find<QWidget>(name)->toolTip(), tip) << name;

  auto* graph = Find<QtChart>("ADCGraph");
  EXPECT_EQ(graph->YAxisTitle(), "V O L T A G E ,  uV");
  EXPECT_EQ(&window.AdcGraph(), static_cast<Chart*>(graph));
  EXPECT_EQ(&window.Histo(), static_cast<Chart*>(Find<QtChart>("Histo")));
}

TEST_F(MainWindowTest, PutsEachControlInsideItsFrame) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> placed = {
      {"fraMeasADC",
       {"chkTermWindow", "chkLogFile", "chkAutoZero", "txtDisplay", "linSep_4", "lblRazmernst",
        "ADCGraph", "Histo"}},
      {"Frame2", {"optDataShow_2"}},
      {"fraStDev", {"txtDeviation", "txtAverNumb", "txtEfBits"}},
      {"fraADCmode", {"cboAvgFil", "txtPartMode", "lblPartMode"}},
      {"fraDataMode", {"cboSampling"}},
      {"fraADCset", {"frmADCset", "FraFreq"}},
      {"frmADCset", {"Frame1_3", "txtPGAGain", "cmdGainChange_1", "chkBuffer", "chkBOD"}},
      {"Frame1_3", {"cboFilter"}},
      {"Frame1_0", {"cboCalibr"}},
      {"Frame1_5", {"optRef_2"}},
      {"Frame1_1", {"optPolarity_1", "lblPolRange"}},
      {"Frame1_4", {"optADCinput_1", "txtChannel_1", "cmdChanelMinusPlus_3"}},
      {"fraOffsetDAC", {"cmdODAC", "txtOfstDAC"}},
      {"FraFreq", {"txtFreq", "txtTdata", "Line1_1"}}};
  for (const auto& [frame_name, children] : placed) {
    auto* frame = Find<QWidget>(frame_name);
    ASSERT_NE(frame, nullptr) << frame_name;
    for (const std::string& child_name : children) {
      auto* child = Find<QWidget>(child_name);
      ASSERT_NE(child, nullptr) << child_name;
      EXPECT_TRUE(frame->isAncestorOf(child)) << child_name << " not inside " << frame_name;
    }
  }
  for (const char* top_level : {"cmdCntr_2", "cmdReset", "fraADCset"}) {
    EXPECT_FALSE(Find<QWidget>("fraMeasADC")->isAncestorOf(Find<QWidget>(top_level)));
  }
}

TEST_F(MainWindowTest, OnlyTheProgramWritesTheOutputBoxes) {
  for (const char* name : {"txtDeviation", "txtEfBits", "txtPGAGain", "txtChannel_0",
                           "txtChannel_1", "txtFMod", "txtFdata", "txtTdata"}) {
    EXPECT_TRUE(Find<QLineEdit>(name)->isReadOnly()) << name;
  }
  for (const char* name :
       {"txtAverNumb", "txtPartMode", "txtOfstDAC", "txtFreq", "txtAClock", "txtDecimation"}) {
    EXPECT_FALSE(Find<QLineEdit>(name)->isReadOnly()) << name;
  }
}

TEST_F(MainWindowTest, NamesEveryControlForAssistiveTools) {
  const std::vector<std::pair<std::string, QString>> names = {
      {"cmdCntr_2", "Run ADC"},
      {"optRef_1", "2.5V"},
      {"fraStDev", "PC  Averaging"},
      {"txtFreq", "Clock Frequency, MHz"},
      {"txtAClock", "ACLK Reg, 0...127"},
      {"txtDecimation", "Decimation Ratio, 8...2047"},
      {"txtFMod", "Modulator Freq, kHz"},
      {"txtFdata", "Fdata, Hz"},
      {"txtTdata", "Tdata, mS"},
      {"txtOfstDAC", "-127...+127"},
      {"txtChannel_0", "Positive Input"},
      {"txtChannel_1", "Negative Input"},
      {"txtPGAGain", "PGA Gain"},
      {"txtDeviation", "SDEV  LSB"},
      {"txtAverNumb", "Sample"},
      {"txtEfBits", "ENOB"},
      {"txtPartMode", "Average N=1...255"},
      {"cboSampling", "Data Sampling"},
      {"cboAvgFil", "Calculate in Korvane"},
      {"cboFilter", "Filter"},
      {"cboCalibr", "Calibration"},
      {"txtDisplay", "+0.00000000"}};
  for (const auto& [widget_name, accessible_name] : names) {
    EXPECT_EQ(Find<QWidget>(widget_name)->accessibleName(), accessible_name) << widget_name;
  }

  // A box's name follows its label, and a panel's name its text.
  form.lblPartMode.SetCaption("Filter N=1...255");
  EXPECT_EQ(Find<QWidget>("txtPartMode")->accessibleName(), "Filter N=1...255");
  form.Panel(3).SetText("FSR= 2.5 V");
  EXPECT_EQ(Find<QWidget>("FSR")->accessibleName(), "FSR= 2.5 V");
}

TEST_F(MainWindowTest, StatusBarHasFivePanelsWithTheProgressBarExactlyOverTheSecond) {
  form.prgProgress.SetVisible(true);
  form.Panel(5).SetText("10.20.300");
  ShowAndSettle();
  const double scale = window.statusBar()->logicalDpiX() / 96.0;
  const std::vector<std::pair<std::string, int>> panels = {
      {"Msg", 350}, {"Progress", 96}, {"FSR", 120}, {"ComSettings", 133}, {"Version", 27}};
  int previous_right = -1;
  for (const auto& [key, width] : panels) {
    auto* panel = Find<QLabel>(key);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(window.statusBar()->isAncestorOf(panel)) << key;
    const int design_width = static_cast<int>(std::lround(width * scale));
    if (key == "Msg") {
      EXPECT_GE(panel->width(), design_width) << "messages take the spare width";
    } else if (key == "Version") {
      EXPECT_GE(panel->width(), design_width);
      EXPECT_GE(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    } else {
      EXPECT_EQ(panel->width(), design_width) << key;
    }
    EXPECT_GT(panel->x(), previous_right) << key << " is out of order";
    previous_right = panel->geometry().right();
  }

  auto* bar = Find<QProgressBar>("prgProgress");
  auto* second = Find<QLabel>("Progress");
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(QRect(bar->mapTo(window.statusBar(), QPoint(0, 0)), bar->size()), second->geometry());
}

TEST_F(MainWindowTest, FitsA1280By800ScreenWithRoomForTheTitleBarAndChartsThatGrow) {
  const QSize smallest = window.minimumSizeHint();
  EXPECT_LE(smallest.width(), 1280);
  EXPECT_LE(smallest.height(), 720);

  ShowAndSettle();
  auto* graph = Find<QtChart>("ADCGraph");
  auto* settings = Find<QGroupBox>("fraADCset");
  const QSize graph_before = graph->size();
  const int settings_width = settings->width();
  window.resize(1400, 900);
  QApplication::processEvents();
  EXPECT_GT(graph->width(), graph_before.width());
  EXPECT_GT(graph->height(), graph_before.height());
  EXPECT_EQ(settings->width(), settings_width) << "the settings side keeps its natural width";
  EXPECT_LT(Find<QGroupBox>("fraMeasADC")->x(), settings->x()) << "measurements on the left";
}

}  // namespace
}  // namespace korvane
