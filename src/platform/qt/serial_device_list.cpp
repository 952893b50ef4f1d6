#include "platform/qt/serial_device_list.h"

#include <QSerialPortInfo>

#include "platform/qt/serial_device_identity.h"

namespace korvane {

std::vector<PresentSerialDevice> PresentSerialDevices() {
  std::vector<PresentSerialDevice> present;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const std::string location = info.systemLocation().toStdString();
    present.push_back({location, info.description().toStdString(),
                       info.manufacturer().toStdString(), info.serialNumber().toStdString(),
                       ByIdNameOf(location)});
  }
  return present;
}

}  // namespace korvane
