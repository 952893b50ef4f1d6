#include "platform/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

namespace korvane {
namespace {

struct SeenBox {
  bool seen = false;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::TextFormat format = Qt::AutoText;
  QWidget* parent = nullptr;
};

/// Looks at the next modal message box once it is up, then presses its OK button.
void ReadAndDismissNextBox(SeenBox& seen, int attempts_left = 500) {
  QTimer::singleShot(10, [&seen, attempts_left] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (attempts_left > 0) ReadAndDismissNextBox(seen, attempts_left - 1);
      return;
    }
    seen = {true,
            box->windowTitle(),
            box->text(),
            box->icon(),
            box->standardButtons(),
            box->textFormat(),
            box->parentWidget()};
    box->button(QMessageBox::Ok)->click();
  });
}

TEST(QtDialogsTest, MessageBoxShowsPlainTextUnderTheProgramTitleWithOkOnly) {
  QWidget window;
  QtDialogs dialogs(&window, "Halvern  Korvane  ADC  Demo  Program");

  SeenBox error;
  ReadAndDismissNextBox(error);
  dialogs.MessageBox(" Error performing serial port command <CP8000>.", MessageIcon::kCritical);
  ASSERT_TRUE(error.seen);
  EXPECT_EQ(error.title, "Halvern  Korvane  ADC  Demo  Program");
  EXPECT_EQ(error.text, " Error performing serial port command <CP8000>.");
  EXPECT_EQ(error.format, Qt::PlainText);
  EXPECT_EQ(error.icon, QMessageBox::Critical);
  EXPECT_EQ(error.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(error.parent, &window);

  SeenBox notice;
  ReadAndDismissNextBox(notice);
  dialogs.MessageBox("First line\r\nSecond line", MessageIcon::kNone);
  ASSERT_TRUE(notice.seen);
  EXPECT_EQ(notice.text, "First line\nSecond line");
  EXPECT_EQ(notice.icon, QMessageBox::NoIcon);
  EXPECT_EQ(notice.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

}  // namespace
}  // namespace korvane
