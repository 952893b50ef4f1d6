// What a device server sends to the remote port's client end (ComPortClient): Telnet options,
// subnegotiations and data, cut into packets anywhere. The input is the server's stream; it is
// fed whole, byte by byte and in packets whose lengths its own bytes choose, and every way must
// give the same data and the same answers.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/com_port_client.h"
#include "platform/telnet_stream.h"

namespace korvane {
namespace {

struct Outcome {
  std::string sent;
  std::string data;
  bool agreed = false;
  bool operator==(const Outcome&) const = default;
};

Outcome Run(std::string_view stream, int cut) {
  Outcome outcome;
  ComPortClient client([&](std::string_view bytes) { outcome.sent.append(bytes); },
                       [&](std::string_view bytes) { outcome.data.append(bytes); });
  client.Start({57600, 8, com_port::kParityNone, com_port::kStopOne, true, true});
  client.Write("\r\xff");
  std::size_t at = 0;
  while (at < stream.size()) {
    const std::size_t length =
        std::min<std::size_t>(cut == 0   ? stream.size()
                              : cut == 1 ? 1
                                         : 1 + static_cast<unsigned char>(stream[at]) % 7u,
                              stream.size() - at);
    client.Feed(stream.substr(at, length));
    at += length;
  }
  outcome.agreed = client.Agreed();
  return outcome;
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace korvane;
  const std::string_view stream(reinterpret_cast<const char*>(bytes),
                                std::min<std::size_t>(size, 8192));
  const Outcome whole = Run(stream, 0);
  Check(Run(stream, 1) == whole, "fed byte by byte, the same data and answers");
  Check(Run(stream, 2) == whole, "fed in packets, the same data and answers");
  Check(whole.data.size() <= stream.size(), "no more data than the server sent");

  // What the client sends, read as a server reads it: only options, COM-PORT-OPTION commands
  // that decode, and the data that waited for the agreement, 0xFF included.
  std::string client_data;
  bool only_known = true;
  telnet::Reader server(
      {[&](std::string_view data) { client_data.append(data); },
       [&](std::uint8_t verb, std::uint8_t) { only_known = only_known && verb >= telnet::kWill; },
       [&](std::uint8_t option, std::string_view payload) {
         only_known = only_known && option == telnet::kComPortOption &&
                      com_port::Decode(payload).has_value();
       }});
  server.Feed(whole.sent);
  Check(only_known, "the client sends only options and whole COM-PORT-OPTION commands");
  Check(client_data.empty() || client_data == "\r\xff", "the waiting data goes once, 0xFF intact");
  Check(!whole.agreed || !client_data.empty(), "agreed: the waiting data went");
  Check(!client_data.empty() || whole.data.empty(), "no data before COM-PORT-OPTION is agreed");

  // Escaping reads back: the input as data.
  std::string read_back;
  telnet::Reader reader({[&](std::string_view data) { read_back.append(data); }, nullptr, nullptr});
  reader.Feed(telnet::Escaped(stream));
  Check(read_back == stream, "escaped data reads back as it was");
  return 0;
}
