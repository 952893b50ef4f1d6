#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/crosshair_text.h"
#include "app/graph_view_state.h"

namespace korvane {
namespace {

TEST(GraphViewState, PauseAndZoomCombineAndAutoScaleEndsOnlyTheZoom) {
  using Event = GraphViewState::Event;
  struct Step {
    Event event;
    bool paused;
    bool zoomed;
  };
  const std::vector<Step> steps = {
      {Event::kAutoScale, false, false},   {Event::kUserMovedView, false, true},
      {Event::kPause, true, true},         {Event::kAutoScale, true, false},
      {Event::kUserMovedView, true, true}, {Event::kResume, false, true},
      {Event::kAutoScale, false, false},   {Event::kPause, true, false},
      {Event::kResume, false, false},      {Event::kResume, false, false},
  };
  GraphViewState view;
  EXPECT_TRUE(view.ShowsNewPoints() && view.ProgramScales()) << "a new graph is live";
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    view.Handle(steps[i].event);
    EXPECT_EQ(view.Paused(), steps[i].paused);
    EXPECT_EQ(view.Zoomed(), steps[i].zoomed);
    EXPECT_EQ(view.ShowsNewPoints(), !steps[i].paused);
    EXPECT_EQ(view.ProgramScales(), !steps[i].zoomed);
  }
}

TEST(CrosshairText, IndexTimeFromTheReadingPeriodAndValue) {
  struct Case {
    double key, value, millis_per_reading;
    const char* text;
  };
  const std::vector<Case> cases = {
      {120.0, 1.2345678, 1.3888889, "#120   t = 0.166667 s   1.234568"},
      {4.6, -0.5, 20.0, "#5   t = 0.1 s   -0.5"},  // the point nearest the mouse
      {5000.0, 8388.607, 400.0, "#5000   t = 2000 s   8388.607"},
      {2.0, static_cast<float>(8.9e-7), 4.167, "#2   t = 0.008334 s   8.9e-07"},
      {0.0, 0.0, 50.0, "#0   t = 0 s   0"},
      {7.0, 27.25, 0.0, "#7   27.25"},  // no run yet: the period is unknown
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CrosshairText(c.key, c.value, c.millis_per_reading), c.text) << c.text;
  }
}

}  // namespace
}  // namespace korvane
