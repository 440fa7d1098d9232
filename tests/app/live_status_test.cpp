#include "app/live_status.h"

#include <gtest/gtest.h>

#include "platform/virtual_clock.h"

namespace tarvik {
namespace {

using Names = std::vector<std::string_view>;

// A connection as a listener sees it: state changes at once, figures at most once a second,
// a change held back announced a second after the one before, and nothing while all stays.
TEST(LiveAnnouncer, StateAtOnceFiguresOnceASecond) {
  VirtualClock clock;
  LiveAnnouncer announcer(clock);
  const auto idle = [] {
    LiveFigures f;
    f.service = "sim";
    f.state = "offline";
    f.currency = "$";
    return f;
  };
  LiveFigures f = idle();
  EXPECT_EQ(announcer.look(f), Names{});  // the first look only learns

  f.state = "authenticating";
  EXPECT_EQ(announcer.look(f), Names{"State"});
  clock.advance(100);
  f.state = "online";
  f.entry = "Home";
  f.price = 12;
  EXPECT_EQ(announcer.look(f), (Names{"State", "Entry", "Price"}));

  // A tick a quarter second later is held back, and so is the next one.
  clock.advance(250);
  f.secondsOnline = 1;
  f.cost = 0.5;
  EXPECT_EQ(announcer.look(f), Names{});
  clock.advance(500);
  f.received = 4096;
  EXPECT_EQ(announcer.look(f), Names{});
  // A second after the last announcement, all that changed since goes out together.
  clock.advance(250);
  EXPECT_EQ(announcer.look(f), (Names{"SecondsOnline", "Cost", "Received"}));
  EXPECT_EQ(announcer.announced().received, 4096u);
  clock.advance(5000);
  EXPECT_EQ(announcer.look(f), Names{});

  // Hanging up is announced at once even right after a figure.
  f.secondsOnline = 7;
  EXPECT_EQ(announcer.look(f), Names{"SecondsOnline"});
  clock.advance(10);
  LiveFigures offline = idle();
  EXPECT_EQ(announcer.look(offline),
            (Names{"State", "Entry", "SecondsOnline", "Cost", "Received", "Price"}));
  // The service going away is a change of state too.
  clock.advance(10);
  offline.service = "";
  EXPECT_EQ(announcer.look(offline), Names{"Service"});
}

}  // namespace
}  // namespace tarvik
