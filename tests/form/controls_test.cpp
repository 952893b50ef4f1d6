#include "form/controls.h"

#include <gtest/gtest.h>

#include <set>

#include "form/form.h"

namespace korvane {
namespace {

TEST(Controls, HandlersRunOnChangeOnlyWhetherFromCodeOrView) {
  TextBox box{"txtFreq", "1.843200"};
  int changes = 0;
  int observed = 0;
  box.SetOnChange([&] { ++changes; });
  box.SetObserver([&] { ++observed; });
  box.SetText("11.0592");
  box.SetText("11.0592");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(observed, 1);
  EXPECT_EQ(box.Text(), "11.0592");

  CheckBox check{"chkLogFile", "Log File"};
  int clicks = 0;
  check.SetOnClick([&] { ++clicks; });
  check.SetValue(1);
  check.SetValue(1);
  check.SetValue(0);
  EXPECT_EQ(clicks, 2);

  ComboBox list{"cboFilter", {"Auto", "Fast", "Sinc2", "Sinc3"}};
  int picks = 0;
  list.SetOnClick([&] { ++picks; });
  list.SetListIndex(3);
  list.SetListIndex(3);
  list.SetListIndex(4);
  list.SetListIndex(-2);
  EXPECT_EQ(picks, 1);
  EXPECT_EQ(list.SelectedText(), "Sinc3");

  // Visibility, enabled state and colours reach the observer without running a handler.
  box.SetVisible(false);
  box.SetEnabled(false);
  box.SetBackColor(0xC0FFFF);
  box.SetBackColor(0xC0FFFF);
  EXPECT_EQ(observed, 4);
  EXPECT_EQ(changes, 1);
}

TEST(Controls, OptionButtonsExcludeEachOtherAndClickOnlyWhenChosen) {
  Form form;
  std::array<int, 3> clicks{};
  for (int i = 0; i < 3; ++i) {
    form.optRef[static_cast<std::size_t>(i)].SetOnClick(
        [&clicks, i] { ++clicks[static_cast<std::size_t>(i)]; });
  }
  EXPECT_TRUE(form.optRef[1].Value());
  form.optRef[1].SetValue(true);
  EXPECT_EQ(clicks, (std::array<int, 3>{0, 0, 0}));
  form.optRef[2].SetValue(true);
  EXPECT_EQ(clicks, (std::array<int, 3>{0, 0, 1}));
  EXPECT_FALSE(form.optRef[1].Value());
  EXPECT_TRUE(form.optRef[2].Value());
  EXPECT_TRUE(form.optPolarity[0].Value()) << "groups are independent";
  EXPECT_TRUE(form.optDataShow[0].Value());
  EXPECT_TRUE(form.optADCinput[0].Value());
}

TEST(Controls, ProgressBarStaysWithinItsRange) {
  ProgressBar bar{"prgProgress"};
  bar.SetMax(8);
  bar.Add(1);
  bar.Add(1);
  EXPECT_EQ(bar.Value(), 2);
  bar.SetValue(500);
  EXPECT_EQ(bar.Value(), 8);
  bar.SetMax(4);
  EXPECT_EQ(bar.Value(), 4);
  bar.SetValue(-3);
  EXPECT_EQ(bar.Value(), 0);
}

TEST(Form, DesignTimeState) {
  Form form;
  EXPECT_EQ(form.frmKorvane_Demo.Caption(), "Halvern  Korvane  ADC  Demo  Program");
  EXPECT_FALSE(form.cmdCntr[0].Visible());
  EXPECT_FALSE(form.cmdCntr[1].Visible());
  EXPECT_TRUE(form.cmdCntr[2].Visible());
  EXPECT_EQ(form.cmdCntr[2].Caption(), "Run &ADC");
  EXPECT_FALSE(form.txtPartMode.Visible());
  EXPECT_FALSE(form.lblAver.Visible());
  EXPECT_EQ(form.ChannelNames[8], "AINCOM");
  EXPECT_EQ(form.ChannelNames[9], "DIODE");
  EXPECT_EQ(form.ChannelNames[15], "xxx");
  EXPECT_EQ(form.Panel(1).Key(), "Msg");
  EXPECT_EQ(form.Panel(5).Width(), 27);
  EXPECT_EQ(form.prgProgress.Max(), 8);

  // Every control has its own name.
  std::set<std::string> names;
  int count = 0;
  form.ForEachControl([&](Control& control) {
    names.insert(control.Name());
    ++count;
  });
  EXPECT_EQ(static_cast<int>(names.size()), count);
  EXPECT_TRUE(names.count("cmdChanelMinusPlus_3"));
  EXPECT_TRUE(names.count("linSep_4"));
}

}  // namespace
}  // namespace korvane
