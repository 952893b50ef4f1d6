#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <string>

#include "app/view/main_window.h"
#include "form/form.h"

namespace korvane {

/// The real window on the form's models, not shown unless a test shows it.
class MainWindowTest : public testing::Test {
 protected:
  /// The one widget (or action) named `name`; fails the test when there is none.
  template <typename Widget>
  Widget* Find(const std::string& name) {
    const auto found = window.findChildren<Widget*>(QString::fromStdString(name));
    EXPECT_EQ(found.size(), 1) << name;
    return found.isEmpty() ? nullptr : found.front();
  }

  void ShowAndSettle() {
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
  }

  Form form;
  MainWindow window{form};
};

}  // namespace korvane
