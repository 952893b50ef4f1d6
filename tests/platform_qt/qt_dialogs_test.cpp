#include "platform/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

namespace korvane {
namespace {

/// Describes the next modal message box once it is up (title, text, icon, buttons, plain text,
/// parent), then presses its OK button.
void ReadAndDismissNextBox(QWidget* window, QString& seen, int attempts_left = 500) {
  QTimer::singleShot(10, [window, &seen, attempts_left] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (attempts_left > 0) ReadAndDismissNextBox(window, seen, attempts_left - 1);
      return;
    }
    seen = QStringLiteral("%1|%2|icon %3|buttons %4|%5|%6")
               .arg(box->windowTitle(), box->text())
               .arg(box->icon())
               .arg(static_cast<int>(box->standardButtons()))
               .arg(box->textFormat() == Qt::PlainText ? "plain" : "rich")
               .arg(box->parentWidget() == window ? "on the window" : "elsewhere");
    box->button(QMessageBox::Ok)->click();
  });
}

TEST(QtDialogsTest, MessageBoxShowsPlainTextUnderTheProgramTitleWithOkOnly) {
  QWidget window;
  QtDialogs dialogs(&window, "Halvern  Korvane  ADC  Demo  Program");
  const QString ok_only = QString::number(QMessageBox::Ok);
  const struct {
    const char* text;
    MessageIcon icon;
    QString seen;
  } cases[] = {
      {" Error performing serial port command <CP8000>.", MessageIcon::kCritical,
       "Halvern  Korvane  ADC  Demo  Program| Error performing serial port command "
       "<CP8000>.|icon " +
           QString::number(QMessageBox::Critical) + "|buttons " + ok_only + "|plain|on the window"},
      {"First line\r\nSecond line", MessageIcon::kNone,
       "Halvern  Korvane  ADC  Demo  Program|First line\nSecond line|icon 0|buttons " + ok_only +
           "|plain|on the window"}};
  for (const auto& c : cases) {
    QString seen;
    ReadAndDismissNextBox(&window, seen);
    dialogs.MessageBox(c.text, c.icon);
    EXPECT_EQ(seen, c.seen);
  }
}

}  // namespace
}  // namespace korvane
