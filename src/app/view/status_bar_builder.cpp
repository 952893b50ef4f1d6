#include "app/view/status_bar_builder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <cmath>

#include "app/view/control_binder.h"
#include "form/form.h"
#include "platform/qt/logging_categories.h"

namespace korvane {

namespace {

constexpr std::size_t kMessagePanel = 0;  ///< zero-based positions
constexpr std::size_t kProgressPanel = 1;
constexpr std::size_t kVersionPanel = 4;
constexpr double kDesignDpi = 96.0;  ///< panel widths are given for this resolution

}  // namespace

void StatusBarBuilder::Build(QStatusBar& status_bar) {
  status_bar.setSizeGripEnabled(false);
  const double scale = status_bar.logicalDpiX() / kDesignDpi;
  for (std::size_t index = 0; index < form_.StatusBar1.size(); ++index) {
    StatusPanel& model = form_.StatusBar1[index];
    auto* panel = new QLabel(&status_bar);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    const int width = static_cast<int>(std::lround(model.Width() * scale));
    if (index == kMessagePanel) {
      // Messages run long: the panel takes the spare width and never pushes the window wider.
      panel->setMinimumWidth(width);
      panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    } else if (index == kVersionPanel) {
      panel->setMinimumWidth(width);  // and as wide as the version text needs
    } else {
      panel->setFixedWidth(width);
    }
    if (index == kMessagePanel) {
      binder_.BindStatusPanel(model, *panel, [](const std::string& text) { LogStatus(text); });
    } else {
      binder_.BindStatusPanel(model, *panel);
    }
    status_bar.addWidget(panel, index == kMessagePanel ? 1 : 0);

    if (index == kProgressPanel) {
      panel->setAttribute(Qt::WA_LayoutOnEntireRect);  // the bar covers the frame too
      auto* cover = new QHBoxLayout(panel);
      cover->setContentsMargins(0, 0, 0, 0);
      auto* bar = new QProgressBar(panel);
      binder_.BindProgressBar(form_.prgProgress, *bar);
      cover->addWidget(bar);
    }
  }
}

}  // namespace korvane
