#include "platform/qt/remote_serial_link.h"

#include <QByteArray>
#include <QEventLoop>

#include "platform/qt/logging_categories.h"

namespace korvane {

RemoteSerialLink::RemoteSerialLink(Events events)
    : events_(std::move(events)),
      client_(
          [this](std::string_view bytes) {
            socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
          },
          [this](std::string_view bytes) { events_.data(bytes); }) {
  deadline_.setSingleShot(true);
  probe_timer_.setInterval(kProbePeriod);
  QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] {
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);  // board commands are tiny
    qCDebug(SerialLogCategory).noquote() << Where().c_str() << "connected";
  });
  QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { OnReadyRead(); });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred, &socket_,
                   [this](QAbstractSocket::SocketError error) { OnSocketEnded(error); });
  QObject::connect(&deadline_, &QTimer::timeout, &deadline_, [this] { OnDeadline(); });
  QObject::connect(&probe_timer_, &QTimer::timeout, &probe_timer_, [this] { Probe(); });
  QObject::connect(&probe_, &QTcpSocket::connected, &probe_, [this] {
    server_back_ = true;
    probe_timer_.stop();
    probe_.disconnectFromHost();  // a polite close: the server may take it for a short client
  });
}

RemoteSerialLink::~RemoteSerialLink() {
  open_ = false;
  QObject::disconnect(&socket_, nullptr, &socket_, nullptr);
  QObject::disconnect(&probe_, nullptr, &probe_, nullptr);
  socket_.abort();
  probe_.abort();
}

std::string RemoteSerialLink::Where() const {
  return address_.host + ":" + std::to_string(address_.port);
}

void RemoteSerialLink::Open(const std::string& url, const ComPortLine& line) {
  if (open_) Drop();
  probe_timer_.stop();
  probe_.abort();
  server_back_ = false;
  const auto address = ParseRemotePortUrl(url);
  if (!address) {
    events_.not_opened(url + " is not rfc2217://host:port");
    return;
  }
  address_ = *address;
  open_ = true;
  socket_.connectToHost(QString::fromStdString(address_.host), address_.port);
  client_.Start(line);  // the offers wait in the socket's buffer until it is connected
  deadline_.start(kAgreementTime);
  // The program pulses the reset lines right after opening, and a pulse must not be spent before
  // the server can carry it: the open waits for the agreement (or the failure), taking socket
  // events and timers but no user input, so nothing the user does runs inside it.
  QEventLoop agreement;
  waiting_ = &agreement;
  agreement.exec(QEventLoop::ExcludeUserInputEvents);
  waiting_ = nullptr;
}

void RemoteSerialLink::Close() {
  if (open_) Drop();
}

void RemoteSerialLink::Drop() {
  deadline_.stop();
  open_ = false;
  if (socket_.state() == QAbstractSocket::ConnectedState) socket_.flush();
  socket_.abort();
  if (waiting_) waiting_->quit();
}

void RemoteSerialLink::Fail(const std::string& reason) {
  qCDebug(SerialLogCategory).noquote() << Where().c_str() << "not opened:" << reason.c_str();
  Drop();
  events_.not_opened(reason);
}

void RemoteSerialLink::OnReadyRead() {
  const QByteArray bytes = socket_.readAll();
  const bool was_agreed = client_.Agreed();
  client_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!was_agreed && client_.Agreed()) {
    deadline_.stop();
    if (waiting_) waiting_->quit();
  }
  if (open_ && client_.Refused()) Fail(Where() + " refuses RFC 2217 (COM-PORT-OPTION)");
}

void RemoteSerialLink::OnSocketEnded(QAbstractSocket::SocketError error) {
  if (!open_) return;
  if (client_.Agreed()) {
    qCDebug(SerialLogCategory).noquote() << Where().c_str() << "dropped:" << socket_.errorString();
    Drop();
    probe_timer_.start();
    events_.lost();
    return;
  }
  switch (error) {
    case QAbstractSocket::HostNotFoundError:
      return Fail("host " + address_.host + " not found");
    case QAbstractSocket::ConnectionRefusedError:
      return Fail(Where() + " refused the connection");
    case QAbstractSocket::RemoteHostClosedError:
      return Fail(Where() + " closed the connection: not an RFC 2217 server");
    default:
      return Fail(Where() + ": " + socket_.errorString().toStdString());
  }
}

void RemoteSerialLink::OnDeadline() {
  if (!open_ || client_.Agreed()) return;
  const bool connected = socket_.state() == QAbstractSocket::ConnectedState;
  Fail(connected ? Where() + " does not answer as an RFC 2217 server"
                 : "no connection to " + Where() + " within 3 s");
}

void RemoteSerialLink::Probe() {
  if (probe_.state() != QAbstractSocket::UnconnectedState) probe_.abort();
  probe_.connectToHost(QString::fromStdString(address_.host), address_.port);
}

}  // namespace korvane
