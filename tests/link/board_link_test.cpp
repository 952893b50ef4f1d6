#include "link/board_link.h"

#include <gtest/gtest.h>

#include "platform/virtual_time.h"
#include "support/fakes.h"
#include "support/scripted_port.h"

namespace korvane {
namespace {

using testing::RecordingDialogs;
using testing::ScriptedPort;

struct LinkRig {
  VirtualTime time;
  Form form;
  ScriptedPort port{time};
  RecordingDialogs dialogs;
  BoardLink link{form, time, port, dialogs};
};

TEST(BoardLink, TimeOutsAndTheirMessages) {
  LinkRig rig;
  // Expiry in the same pass as the prompt counts as a time-out.
  rig.port.ArriveAfter(100, ">");
  EXPECT_TRUE(rig.link.WaitFor(">", 100));

  const auto start = rig.time.NowMs();
  EXPECT_TRUE(rig.link.SendProgCmd("CP8000", 400));
  EXPECT_EQ(rig.time.NowMs() - start, 401) << "six paced characters, then 400 ms";
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0].text, " Error performing serial port command <CP8000>.");
  EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::kCritical);

  EXPECT_TRUE(rig.link.SendCmd("H1", 600));
  EXPECT_EQ(rig.dialogs.messages.size(), 1u) << "SendCmd shows nothing";
  EXPECT_EQ(rig.port.sent, "CP8000H1");

  rig.port.ArriveAfter(3, "]");
  EXPECT_FALSE(rig.link.SendCmd("RWFB0A", 300));
}

TEST(BoardLink, RegisterReadTakesCharactersFiveAndSix) {
  LinkRig rig;
  const struct {
    const char* reply;  // nullptr: a silent board, whose empty take is still read
    std::int32_t value;
  } cases[] = {{"RRCA3F>", 0x3F},
               {">", 0},
               {"RRCAZ1>", 0} /* reading stops at the first character that is no hex digit */,
               {"RRCAa\x80>", 10},
               {nullptr, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply ? c.reply : "silent");
    std::int32_t value = 99;
    if (c.reply) rig.port.ArriveAfter(10, c.reply);
    EXPECT_EQ(rig.link.Sread("RRCA", value, 200), c.reply == nullptr);
    EXPECT_EQ(value, c.value);
  }
  EXPECT_EQ(LeadingHexValue("FFFFFFFFFFFF"), 0xFFFFFFF);
}

TEST(BoardLink, WaitsDelaysAndBeeps) {
  LinkRig rig;
  int ran = 0;
  rig.time.Schedule(Millis{150}, [&] { ++ran; });
  rig.link.Wait(200);
  EXPECT_EQ(rig.time.NowMs(), 200);
  EXPECT_EQ(ran, 1) << "events run inside the wait";

  rig.time.Schedule(Millis{0}, [&] { ++ran; });
  rig.link.Wait(0);
  EXPECT_EQ(ran, 1) << "Wait(0) pumps nothing";
  rig.link.Wait(-5);
  EXPECT_EQ(rig.time.NowMs(), 200);

  rig.link.Delay(40);
  EXPECT_EQ(rig.time.NowMs(), 240);
  EXPECT_TRUE(rig.form.TimerExpired);
  EXPECT_FALSE(rig.link.Timer1().IsArmed());

  rig.form.Sound = false;
  rig.link.Timer1().Arm(300);
  rig.link.BeepFor(2);
  EXPECT_EQ(rig.dialogs.beeps, 0);
  EXPECT_TRUE(rig.link.Timer1().IsArmed()) << "BeepFor without sound leaves Timer1 alone";

  rig.form.Sound = true;
  const auto before = rig.time.NowMs();
  rig.link.BeepFor(2);
  EXPECT_EQ(rig.time.NowMs() - before, 8);
  EXPECT_GE(rig.dialogs.beeps, 1);
  EXPECT_FALSE(rig.link.Timer1().IsArmed());
}

TEST(BoardLink, SendSlowIsPacedAndDisarmsTheTimer) {
  LinkRig rig;
  rig.link.Timer1().Arm(100);
  rig.link.SendSlow("");
  EXPECT_FALSE(rig.link.Timer1().IsArmed());
  EXPECT_EQ(rig.port.sent, "");

  int ran = 0;
  rig.time.Schedule(Micros{1}, [&] { ++ran; });
  rig.link.SendSlow("RWFB0A");
  EXPECT_EQ(rig.port.sent, "RWFB0A");
  EXPECT_EQ(ran, 0) << "no events run while characters are paced";
  EXPECT_EQ(rig.time.Now(), 6 * BoardLink::kCharacterPause);

  // A stale expiry of an earlier wait never ends a later one.
  rig.port.ArriveAfter(1, ">");
  EXPECT_FALSE(rig.link.WaitFor(">", 10));
  rig.port.ArriveAfter(50, ">");
  EXPECT_FALSE(rig.link.WaitFor(">", 100));
}

TEST(BoardLink, InputLeftFromAnEarlierExchangeAnswersNoLaterCommand) {
  LinkRig rig;
  rig.port.ArriveAfter(1, "]>");  // late prompts, say of a stream's end
  rig.time.Advance(Millis{2});
  EXPECT_TRUE(rig.link.SendCmd("RWDD71", 300));
  rig.port.ArriveAfter(1, ">");
  rig.time.Advance(Millis{2});
  EXPECT_TRUE(rig.link.SendProgCmd("CP8000", 400));
  std::int32_t value = -1;
  rig.port.ArriveAfter(1, "RRCA3F>");
  rig.time.Advance(Millis{2});
  EXPECT_TRUE(rig.link.Sread("RRCA", value, 200));
  EXPECT_EQ(value, 0);

  // Closing or reopening the port empties what it received: an answer heard before a pulled
  // adapter must not pass for one heard after it.
  rig.port.ArriveAfter(1, "]");
  rig.time.Advance(Millis{2});
  rig.port.ClosePort();
  EXPECT_EQ(rig.port.TakeInput(), "");
  rig.port.ArriveAfter(1, "]");  // handed over by the device as it closed
  rig.time.Advance(Millis{2});
  rig.link.ReopenPort(7, "1200");
  EXPECT_EQ(rig.port.TakeInput(), "");
  EXPECT_TRUE(rig.port.IsPortOpen());
  EXPECT_EQ(rig.port.CommPort() + " " + rig.port.PortSettings(), "COM7 1200,N,8,1");
  EXPECT_EQ(rig.port.BitRate(), 1200);
  rig.port.ArriveAfter(1, "]");
  rig.time.Advance(Millis{2});
  rig.port.LoseDevice();
  EXPECT_EQ(rig.port.TakeInput(), "");
}

}  // namespace
}  // namespace korvane
