#include "platform/com_port_client.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace korvane {
namespace {

using namespace std::string_literals;

// Wire bytes of the options and commands, written out as a device server sees them.
const std::string kOffers = "\xff\xfb\x00\xff\xfd\x00\xff\xfb\x03\xff\xfd\x03\xff\xfb\x2c"s;
const std::string kAgree = "\xff\xfd\x2c"s;  // DO COM-PORT-OPTION
std::string Sub(const std::string& command) {
  return "\xff\xfa\x2c"s + command + "\xff\xf0"s;
}
// The line set at agreement: 1200 bit/s 8-N-1, no flow control, DTR on, RTS off, then a purge.
const std::string kLineAt1200 = Sub("\x01\x00\x00\x04\xb0"s) + Sub("\x02\x08"s) + Sub("\x03\x01"s) +
                                Sub("\x04\x01"s) + Sub("\x05\x01"s) + Sub("\x05\x08"s) +
                                Sub("\x05\x0c"s) + Sub("\x0c\x03"s);

// The client end against a scripted server: what it sends and what it hands on as the board's
// data, for packets cut anywhere, 0xFF both ways, options it does not know and each command.
TEST(ComPortClient, SpeaksTelnetAndComPortOption) {
  struct Case {
    const char* name;
    std::function<void(ComPortClient&)> act;  // after Start at 1200 bit/s, DTR on, RTS off
    std::string sent;                         // after the offers
    std::string data;
  };
  const auto feed = [](std::vector<std::string> packets) {
    return [packets](ComPortClient& client) {
      for (const auto& packet : packets) client.Feed(packet);
    };
  };
  const Case cases[] = {
      {"waits for agreement", [](ComPortClient& c) { c.Write("\r\xff"); }, "", ""},
      {"agreement sets the line, then what waited, 0xFF doubled",
       [](ComPortClient& c) {
         c.Write("\r\xff");
         c.Feed(kAgree);
       },
       kLineAt1200 + "\r\xff\xff"s, ""},
      {"agreement cut into three packets", feed({"\xff", "\xfd", "\x2c"}), kLineAt1200, ""},
      {"data before agreement is not the board's", feed({"HTTP/1.1 400\r\n", kAgree, "]"}),
       kLineAt1200, "]"},
      {"doubled 0xFF is one byte, also cut between packets",
       feed({kAgree + "a\xff\xff"s + "b\xff", "\xff"s + "c"}), kLineAt1200,
       "a\xff"s + "b\xff"s + "c"},
      {"unknown and unwanted options refused, known ones agreed",
       feed({"\xff\xfb\x63\xff\xfd\x63\xff\xfb\x01\xff\xfb\x2c\xff\xfb\x00\xff\xfb\x03"s}),
       "\xff\xfe\x63\xff\xfc\x63\xff\xfe\x01\xff\xfd\x2c"s, ""},
      {"a server's replies and notices are not data, however cut",
       feed({kAgree + "\xff\xfa\x2c\x65"s, "\x00\x00\x04"s, "\xb0\xff",
             "\xf0"
             "]\xff\xfa\x2c\x6b\xff\xff\xff\xf0>"s}),
       kLineAt1200, "]>"},
      {"NOP and go-ahead carry nothing", feed({kAgree + "a\xff\xf1\xff\xf9"s + "b"}), kLineAt1200,
       "ab"},
      {"each command's bytes",
       [](ComPortClient& c) {
         c.Feed(kAgree);
         c.SetDtr(false);
         c.SetRts(true);
         c.SetRts(true);  // no change, nothing sent
         c.SetDtr(true);
         c.SetRts(false);
         c.Purge();
         c.SetLine({255, 7, com_port::kParityEven, com_port::kStopTwo, true, false});
       },
       kLineAt1200 + Sub("\x05\x09"s) + Sub("\x05\x0b"s) + Sub("\x05\x08"s) + Sub("\x05\x0c"s) +
           Sub("\x0c\x03"s) + Sub("\x01\x00\x00\x00\xff\xff"s) + Sub("\x02\x07"s) +
           Sub("\x03\x03"s) + Sub("\x04\x02"s) + Sub("\x05\x01"s) + Sub("\x05\x08"s) +
           Sub("\x05\x0c"s),
       ""},
      {"refused", feed({"\xff\xfe\x2c"s}), "", ""},
      {"an endless subnegotiation holds no more than its bound, data after it passes",
       [](ComPortClient& c) {
         c.Feed(kAgree + "\xff\xfa\x2c"s);
         for (int i = 0; i < 1000; ++i) c.Feed(std::string(1000, 'x'));
         c.Feed("\xff\xf0]"s);
       },
       kLineAt1200, "]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string sent;
    std::string data;
    ComPortClient client([&](std::string_view bytes) { sent.append(bytes); },
                         [&](std::string_view bytes) { data.append(bytes); });
    client.Start({1200, 8, com_port::kParityNone, com_port::kStopOne, true, false});
    ASSERT_EQ(sent, kOffers);
    sent.clear();
    c.act(client);
    EXPECT_EQ(sent, c.sent);
    EXPECT_EQ(data, c.data);
    EXPECT_EQ(client.Refused(), std::string(c.name) == "refused");
  }
}

}  // namespace
}  // namespace korvane
