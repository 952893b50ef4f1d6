#include "form/controls.h"

#include <gtest/gtest.h>

#include <string>

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
  std::string clicks;
  for (auto& option : form.optRef) option.SetOnClick([&] { clicks += option.Name() + " "; });
  form.optRef[1].SetValue(true);  // already chosen at start
  form.optRef[2].SetValue(true);
  EXPECT_EQ(clicks, "optRef_2 ");
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

TEST(Form, ChannelNames) {
  Form form;
  EXPECT_EQ(form.ChannelNames[8], "AINCOM");
  EXPECT_EQ(form.ChannelNames[9], "DIODE");
  EXPECT_EQ(form.ChannelNames[15], "xxx");
}

}  // namespace
}  // namespace korvane
