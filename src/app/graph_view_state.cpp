#include "app/graph_view_state.h"

namespace korvane {

void GraphViewState::Handle(Event event) {
  switch (event) {
    case Event::kPause:
      paused_ = true;
      break;
    case Event::kResume:
      paused_ = false;
      break;
    case Event::kUserMovedView:
      zoomed_ = true;
      break;
    case Event::kAutoScale:
      zoomed_ = false;
      break;
  }
}

}  // namespace korvane
