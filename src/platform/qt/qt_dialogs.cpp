#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace korvane {

QtDialogs::QtDialogs(QWidget* parent, const std::string& title)
    : parent_(parent), title_(QString::fromStdString(title)) {}

void QtDialogs::MessageBox(const std::string& text, MessageIcon icon) {
  QString shown = QString::fromStdString(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QMessageBox box(icon == MessageIcon::kCritical ? QMessageBox::Critical : QMessageBox::NoIcon,
                  title_, shown, QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void QtDialogs::Beep() {
  QApplication::beep();
}

}  // namespace korvane
