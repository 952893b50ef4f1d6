#include "app/view/port_menu_builder.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/view/port_picker_dialog.h"
#include "platform/port_mapping.h"
#include "platform/qt/serial_device_list.h"

namespace korvane {

PortMenuBuilder::PortMenuBuilder(QMainWindow& window, PortMapping& mapping,
                                 std::function<void(int)> use_port)
    : window_(window), mapping_(mapping), use_port_(std::move(use_port)) {}

QMenu* PortMenuBuilder::Build() {
  QMenu* menu = window_.menuBar()->addMenu(kMenu);
  menu->addAction(kChoosePort, &window_, [this] {
    PortPickerDialog dialog(&window_, mapping_.List(PresentSerialDevices()));
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenName().empty()) return;
    use_port_(mapping_.Choose(dialog.ChosenName()));
  });
  return menu;
}

}  // namespace korvane
