#include "platform/qt/hardware_serial_port.h"

#include <QByteArray>
#include <QSerialPortInfo>
#include <vector>

#include "platform/qt/line_settings.h"
#include "platform/qt/logging_categories.h"
#include "platform/qt/serial_device_order.h"
#include "platform/remote_port_address.h"
#include "platform/settings_store.h"

namespace korvane {

namespace {

constexpr const char* kApplication = "Korvane-DAQ-EVM";
constexpr const char* kPortsSection = "Ports";

QSerialPort::Parity ToQtParity(LineSettings::Parity parity) {
  switch (parity) {
    case LineSettings::Parity::kEven:
      return QSerialPort::EvenParity;
    case LineSettings::Parity::kOdd:
      return QSerialPort::OddParity;
    case LineSettings::Parity::kNone:
      break;
  }
  return QSerialPort::NoParity;
}

QSerialPort::StopBits ToQtStopBits(LineSettings::StopBits stop_bits) {
  switch (stop_bits) {
    case LineSettings::StopBits::kOneAndHalf:
      return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::kTwo:
      return QSerialPort::TwoStop;
    case LineSettings::StopBits::kOne:
      break;
  }
  return QSerialPort::OneStop;
}

bool IsUsbAdapter(const QSerialPortInfo& info) {
  const QString name = info.portName();
  return info.hasVendorIdentifier() || name.contains(QLatin1String("usb"), Qt::CaseInsensitive) ||
         name.contains(QLatin1String("acm"), Qt::CaseInsensitive);
}

}  // namespace

HardwareSerialPort::HardwareSerialPort(SettingsStore& settings_store)
    : settings_store_(settings_store),
      remote_({[this](std::string_view bytes) { DeliverReceived(bytes); },
               [this] {
                 lost_device_ = open_device_;
                 lost_port_number_ = port_number_;
                 ReportPortLost();
               },
               [this](const std::string& reason) { ReportPortNotOpened(reason); }}) {
  QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { OnReadyRead(); });
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError error) { OnErrorOccurred(error); });
}

HardwareSerialPort::~HardwareSerialPort() {
  QObject::disconnect(&port_, nullptr, &port_, nullptr);
}

bool HardwareSerialPort::IsPortOpen() const {
  return port_.isOpen() || remote_.IsOpen();
}

std::string HardwareSerialPort::DeviceForPort(int port_number) const {
  if (port_number < 1) return {};
  // A mapping (made by the port picker, say) holds on every system.
  const std::string mapped =
      settings_store_.Read(kApplication, kPortsSection, "COM" + std::to_string(port_number), "");
  if (!mapped.empty()) return mapped;
#ifdef Q_OS_WIN
  return "COM" + std::to_string(port_number);
#else
  std::vector<SerialDeviceEntry> present;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    present.push_back(
        {info.portName().toStdString(), info.systemLocation().toStdString(), IsUsbAdapter(info)});
  }
  const std::vector<std::string> ordered = OrderSerialDevices(std::move(present));
  const auto index = static_cast<std::size_t>(port_number - 1);
  return index < ordered.size() ? ordered[index] : std::string{};
#endif
}

std::vector<SerialDeviceIdentity> HardwareSerialPort::PresentDevices() {
  std::vector<SerialDeviceIdentity> present;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const std::string location = info.systemLocation().toStdString();
    present.push_back({location, info.serialNumber().toStdString(), ByIdNameOf(location)});
  }
  return present;
}

bool HardwareSerialPort::LostDeviceIsBack() const {
  if (lost_port_number_ == 0) return false;
  if (IsRemotePortUrl(lost_device_.location)) return remote_.ServerIsBack();
  return !FindSameDevice(lost_device_, PresentDevices()).empty();
}

std::string HardwareSerialPort::DeviceToOpen() const {
  if (lost_port_number_ == port_number_) {
    const std::string returned = FindSameDevice(lost_device_, PresentDevices());
    if (!returned.empty()) return returned;
  }
  return DeviceForPort(port_number_);
}

void HardwareSerialPort::OpenDevice() {
  if (IsPortOpen()) ClosePort();
  const std::string device = DeviceToOpen();
  if (device.empty()) {
    qCDebug(SerialLogCategory).noquote() << CommPort().c_str() << "has no device";
    return;
  }
  // A port opened at the system's default rate would talk to the board at a speed nobody chose.
  const LineSettings line = ParseLineSettings(PortSettings());
  if (line.bit_rate == 0) {
    qCDebug(SerialLogCategory).noquote()
        << CommPort().c_str() << "not opened: no bit rate in" << PortSettings().c_str();
    return;
  }
  const QString prog_reset_line = QString::fromStdString(
      settings_store_.Read(kApplication, kPortsSection, "ProgResetLine", "DTR"));
  prog_reset_on_dtr_ =
      prog_reset_line.trimmed().compare(QLatin1String("RTS"), Qt::CaseInsensitive) != 0;
  if (IsRemotePortUrl(device)) return OpenRemote(device, line);
  port_.setPortName(QString::fromStdString(device));
  ApplyLineSettings(line);
  if (!port_.open(QIODevice::ReadWrite)) {
    qCDebug(SerialLogCategory).noquote()
        << CommPort().c_str() << "=" << device.c_str() << "not opened:" << port_.errorString();
    port_.clearError();
    return;
  }
  qCDebug(SerialLogCategory).noquote()
      << CommPort().c_str() << "=" << device.c_str() << "open at" << settings_.c_str();
  open_device_ = {device, {}, ByIdNameOf(device)};
  for (const auto& present : PresentDevices()) {
    if (present.location == device || present.by_id == device) open_device_ = present;
  }
  if (port_number_ == lost_port_number_) lost_port_number_ = 0;
  ApplyResetLines();
}

void HardwareSerialPort::OpenRemote(const std::string& url, const LineSettings& line) {
  ComPortLine remote_line;
  remote_line.bit_rate = static_cast<std::uint32_t>(line.bit_rate);
  remote_line.data_bits = static_cast<std::uint8_t>(line.data_bits);
  remote_line.parity = line.parity == LineSettings::Parity::kEven  ? com_port::kParityEven
                       : line.parity == LineSettings::Parity::kOdd ? com_port::kParityOdd
                                                                   : com_port::kParityNone;
  remote_line.stop_size = line.stop_bits == LineSettings::StopBits::kTwo ? com_port::kStopTwo
                          : line.stop_bits == LineSettings::StopBits::kOneAndHalf
                              ? com_port::kStopOneAndHalf
                              : com_port::kStopOne;
  remote_line.dtr = prog_reset_on_dtr_ ? prog_reset_line_on_ : run_reset_line_on_;
  remote_line.rts = prog_reset_on_dtr_ ? run_reset_line_on_ : prog_reset_line_on_;
  open_device_ = {url, {}, {}};
  if (port_number_ == lost_port_number_) lost_port_number_ = 0;
  qCDebug(SerialLogCategory).noquote()
      << CommPort().c_str() << "=" << url.c_str() << "opening at" << settings_.c_str();
  remote_.Open(url, remote_line);
}

void HardwareSerialPort::CloseDevice() {
  remote_.Close();
  if (!port_.isOpen()) return;
  port_.flush();
  port_.close();
  port_.clearError();
}

void HardwareSerialPort::SetProgResetLine(bool on) {
  prog_reset_line_on_ = on;
  ApplyResetLines();
}

void HardwareSerialPort::SetRunResetLine(bool on) {
  run_reset_line_on_ = on;
  ApplyResetLines();
}

void HardwareSerialPort::WriteBytes(std::string_view bytes) {
  if (remote_.IsOpen()) return remote_.Write(bytes);
  if (!port_.isOpen()) return;
  port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  port_.flush();  // hand the bytes to the driver now, not at the next turn of the event loop
}

void HardwareSerialPort::ApplyLineSettings(const LineSettings& line) {
  port_.setBaudRate(line.bit_rate);
  port_.setParity(ToQtParity(line.parity));
  port_.setDataBits(static_cast<QSerialPort::DataBits>(line.data_bits));
  port_.setStopBits(ToQtStopBits(line.stop_bits));
  port_.setFlowControl(QSerialPort::NoFlowControl);
}

void HardwareSerialPort::ApplyResetLines() {
  const bool dtr_on = prog_reset_on_dtr_ ? prog_reset_line_on_ : run_reset_line_on_;
  const bool rts_on = prog_reset_on_dtr_ ? run_reset_line_on_ : prog_reset_line_on_;
  if (remote_.IsOpen()) {
    remote_.SetDtr(dtr_on);
    remote_.SetRts(rts_on);
    return;
  }
  if (!port_.isOpen()) return;
  port_.setDataTerminalReady(dtr_on);
  port_.setRequestToSend(rts_on);
  port_.clearError();  // a device without modem lines (a pseudo-terminal) still moves bytes
}

void HardwareSerialPort::OnReadyRead() {
  const QByteArray bytes = port_.readAll();
  DeliverReceived(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void HardwareSerialPort::OnErrorOccurred(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError || !port_.isOpen()) return;
  qCDebug(SerialLogCategory).noquote()
      << CommPort().c_str() << "error" << error << port_.errorString();
  // A device that vanished gives a resource or permission error; on Unix a hung-up device also
  // reads end-of-file, which comes as a read error and would come again at every event.
  if (error != QSerialPort::ResourceError && error != QSerialPort::PermissionError &&
      error != QSerialPort::ReadError) {
    return;
  }
  port_.close();
  port_.clearError();
  lost_device_ = open_device_;
  lost_port_number_ = port_number_;
  ReportPortLost();
}

}  // namespace korvane
