#pragma once

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

#include "platform/com_port_client.h"
#include "platform/remote_port_address.h"

namespace korvane {

/// A serial port on a device server, reached over TCP with RFC 2217 (ser2net, pyserial's
/// server, serial-to-Ethernet boxes, korvane-board-server). Opening waits for the server's
/// agreement, at most kAgreementTime, so that the reset pulses that follow an open reach the
/// board; from then on everything is asynchronous. A
/// connection that fails before the server agreed is reported with its reason (`not_opened`); one
/// that drops after is reported like a pulled adapter (`lost`), and from then on the server is
/// tried every kProbePeriod until it accepts again (ServerIsBack).
class RemoteSerialLink {
 public:
  struct Events {
    std::function<void(std::string_view bytes)> data;
    std::function<void()> lost;
    std::function<void(const std::string& reason)> not_opened;
  };
  static constexpr int kAgreementTime = 3000;  // ms
  static constexpr int kProbePeriod = 500;     // ms

  explicit RemoteSerialLink(Events events);
  ~RemoteSerialLink();
  RemoteSerialLink(const RemoteSerialLink&) = delete;
  RemoteSerialLink& operator=(const RemoteSerialLink&) = delete;

  /// Connects and returns once the server agreed to COM-PORT-OPTION (open) or the connection
  /// failed or ran out of kAgreementTime (closed, reported as not opened).
  void Open(const std::string& url, const ComPortLine& line);
  void Close();
  bool IsOpen() const { return open_; }

  void SetDtr(bool on) { client_.SetDtr(on); }
  void SetRts(bool on) { client_.SetRts(on); }
  void Write(std::string_view bytes) { client_.Write(bytes); }

  /// After a drop: the server accepted a connection again.
  bool ServerIsBack() const { return server_back_; }

 private:
  void Fail(const std::string& reason);
  /// Ends the connection without a word.
  void Drop();
  void OnReadyRead();
  void OnSocketEnded(QAbstractSocket::SocketError error);
  void OnDeadline();
  void Probe();
  std::string Where() const;

  Events events_;
  QTcpSocket socket_;
  QTimer deadline_;
  ComPortClient client_;
  RemotePortAddress address_;
  bool open_ = false;
  QTcpSocket probe_;
  QTimer probe_timer_;
  bool server_back_ = false;
  /// The open's wait for the agreement, while it runs.
  QEventLoop* waiting_ = nullptr;
};

}  // namespace korvane
