#include "acquisition/display_mode.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fakes.h"

namespace korvane {
namespace {

std::vector<int> VisibleSeparators(const Form& form) {
  std::vector<int> visible;
  for (int i = 0; i < 5; ++i) {
    if (form.linSep[static_cast<std::size_t>(i)].Visible()) visible.push_back(i);
  }
  return visible;
}

TEST(DisplayMode, UnitsTitleAndSeparatorsFollowModeAndInput) {
  struct Case {
    int mode;
    bool temperature;
    const char* units;
    const char* title;
    std::vector<int> separators;
  };
  const Case cases[] = {
      {0, false, "V", "V O L T A G E ,  V", {0, 3}}, {0, true, "C", "T E M P E R T U R E ,  C", {}},
      {1, false, "LSB", "L S B / 1000  ", {1, 4}},   {1, true, "LSB", "L S B / 1000  ", {1, 4}},
      {2, false, "LSB", "uV ", {0, 2, 4}},           {2, true, "LSB", "uV ", {0, 2, 4}},
  };
  for (const auto& c : cases) {
    Form form;
    testing::FakeChart graph;
    for (auto& line : form.linSep) line.SetVisible(true);
    form.optDataShow[static_cast<std::size_t>(c.mode)].SetValue(true);
    form.optADCinput[c.temperature ? 1 : 0].SetValue(true);
    SetDisplayMode(form, graph);
    EXPECT_EQ(form.lblRazmernst.Caption(), c.units) << c.mode << c.temperature;
    EXPECT_EQ(graph.y_title, c.title) << c.mode << c.temperature;
    EXPECT_EQ(VisibleSeparators(form), c.separators) << c.mode << c.temperature;
  }
}

TEST(DisplayMode, ClickStopsTheRunAndHighlightsNothing) {
  Form form;
  form.TestGo = true;
  for (auto& option : form.optDataShow) option.SetBackColor(0xC0FFFF);
  optDataShow_Click(form);
  EXPECT_FALSE(form.TestGo);
  for (const auto& option : form.optDataShow) {
    EXPECT_EQ(option.BackColor(), Control::kSystemButtonFace);
  }
}

}  // namespace
}  // namespace korvane
