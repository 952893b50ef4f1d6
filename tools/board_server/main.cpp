// korvane-board-server: the simulated evaluation board as a serial port on the network, served
// with RFC 2217 in real time, so that the program (or any RFC 2217 client) reaches it through the
// same code path as a board on a device server: korvane-demo --port rfc2217://127.0.0.1:PORT.

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "board/signal_options.h"
#include "board/simulated_board.h"
#include "board_session.h"
#include "platform/qt/qt_time_base.h"
#include "platform/remote_port_address.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvane-board-server --listen HOST:PORT [--blank-board] [--sim-sine=...]\n"
    "                            [--sim-mains=...] [--sim-flicker-corner=HZ]\n"
    "  --listen HOST:PORT  address to serve on; port 0 picks a free one. The address served is\n"
    "                      printed on the first line: \"listening on HOST:PORT\"\n"
    "  --blank-board       the simulated board's flash starts empty\n"
    "  --sim-...           signals on the board's inputs, as korvane-demo --simulate takes them\n"
    "One client at a time (a new one takes over); its DTR drives the programming reset,\n"
    "its RTS the run reset.\n";

struct ServerOptions {
  std::string listen;
  korvane::BoardOptions board;
  std::string error;
  bool help = false;
};

ServerOptions ReadOptions(int argc, char** argv) {
  ServerOptions options;
  // Something to measure on every input, as the program's --simulate has it.
  options.board.adc_inputs.volts = {1.2345678, -0.75, 0.5, 2.0, 0.1, 0.0, 0.0, 0.010, 0.0};
  options.board.adc_inputs.temperature_celsius = 27.3;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    std::string error;
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--listen" && i + 1 < argc) {
      options.listen = argv[++i];
    } else if (argument.starts_with("--listen=")) {
      options.listen = argument.substr(std::string_view("--listen=").size());
    } else if (argument == "--blank-board") {
      options.board.program_loaded = false;
    } else if (korvane::IsSignalOption(argument)) {
      error = korvane::ApplySignalOption(argument, options.board.input_signals);
    } else {
      error = "unknown argument " + std::string(argument);
    }
    if (options.error.empty()) options.error = error;
  }
  if (options.listen.empty() && options.error.empty() && !options.help) {
    options.error = "--listen HOST:PORT is needed";
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvane;
  const ServerOptions options = ReadOptions(argc, argv);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  // The listening address reads like a remote port's, with port 0 allowed.
  const auto address = ParseRemotePortUrl("rfc2217://" + options.listen);
  const bool any_port = options.listen.ends_with(":0");
  std::string error = options.error;
  if (error.empty() && !address && !any_port) error = options.listen + " is not HOST:PORT";
  if (!error.empty()) {
    std::fprintf(stderr, "korvane-board-server: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  const std::string host =
      address ? address->host : options.listen.substr(0, options.listen.size() - 2);
  const quint16 port = address ? address->port : 0;

  QCoreApplication application(argc, argv);
  QtTimeBase time;
  SimulatedBoard board(time, options.board);
  QTcpSocket* client = nullptr;
  BoardSession session(time, board, [&client](std::string_view bytes) {
    if (client) client->write(bytes.data(), static_cast<qint64>(bytes.size()));
  });

  QTcpServer server;
  QHostAddress host_address(QString::fromStdString(host));
  if (host_address.isNull() && host == "localhost") host_address = QHostAddress::LocalHost;
  if (host_address.isNull() || !server.listen(host_address, port)) {
    std::fprintf(
        stderr, "korvane-board-server: cannot listen on %s: %s\n", options.listen.c_str(),
        host_address.isNull() ? "not an IP address" : server.errorString().toStdString().c_str());
    return 1;
  }
  std::printf("listening on %s:%u\n", server.serverAddress().toString().toStdString().c_str(),
              server.serverPort());
  std::fflush(stdout);

  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    while (QTcpSocket* incoming = server.nextPendingConnection()) {
      if (client) {
        // The board has one line: the newest client takes it over. A program that reopens the
        // port connects again before the server has seen its old connection end.
        QTcpSocket* previous = std::exchange(client, nullptr);
        previous->abort();
        session.Disconnected();
      }
      client = incoming;
      client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
      QObject::connect(client, &QTcpSocket::readyRead, client, [&session, incoming] {
        const QByteArray bytes = incoming->readAll();
        session.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
      });
      QObject::connect(client, &QTcpSocket::disconnected, client, [&client, &session, incoming] {
        if (client == incoming) {
          client = nullptr;
          session.Disconnected();
        }
        incoming->deleteLater();
      });
      session.Connected();
    }
  });
  return QCoreApplication::exec();
}
