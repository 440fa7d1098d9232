// The volume of a metered connection from the line's byte counters: counters that wrap or
// start again, and a connection split in two, never give a negative or doubled volume.
#include <gtest/gtest.h>

#include "monitor/monitor_rig.h"
#include "monitor/traffic_meter.h"

namespace tarvik {
namespace {

using test::MonitorRig;

TEST(TrafficMeter, GrowthAcrossWrapsRestartsAndOtherConnections) {
  EXPECT_EQ(counterGrowth(100, 250), 150u);
  EXPECT_EQ(counterGrowth(4'294'967'000, 200), 496u);  // a 32-bit counter wrapped
  EXPECT_EQ(counterGrowth(3'000'000'000, 500), 500u);  // too far for a wrap: restarted
  EXPECT_EQ(counterGrowth(9'000'000'000, 12), 12u);    // a 64-bit counter restarted
  EXPECT_EQ(counterGrowth(5, 5), 0u);

  TrafficMeter meter;
  meter.sample(1, TrafficBytes{1000, 10});  // the first reading is the base
  EXPECT_EQ(meter.volume(), (TrafficBytes{0, 0}));
  meter.sample(1, TrafficBytes{1500, 40});
  EXPECT_EQ(meter.volume(), (TrafficBytes{500, 30}));
  meter.restartCount();  // second half of a split: the base stays
  meter.sample(1, TrafficBytes{1600, 45});
  EXPECT_EQ(meter.volume(), (TrafficBytes{100, 5}));
  meter.sample(2, TrafficBytes{90'000, 900});  // another connection: a new base
  EXPECT_EQ(meter.volume(), (TrafficBytes{100, 5}));
  meter.sample(2, std::nullopt);  // no reading: the next one is a base again
  meter.sample(2, TrafficBytes{95'000, 950});
  EXPECT_EQ(meter.volume(), (TrafficBytes{100, 5}));
}

// Day plan of every weekday: 1000 until 12:01, then 2000.
std::string twoPeriodTariff() {
  using namespace tariff_keys;
  std::string s;
  const auto line = [&s](const KeyName& key, const std::string& value) {
    s += key.str() + "=" + value + "\n";
  };
  for (int d = 0; d < 7; ++d) {
    line(count(d).name, "2");
    line(endHour(d, 0).name, "12");
    line(endMinute(d, 0).name, "1");
    line(cost(d, 0).name, "1000");
    line(startHour(d, 1).name, "12");
    line(startMinute(d, 1).name, "1");
    line(cost(d, 1).name, "2000");
  }
  return s;
}

TEST(TrafficVolume, SplitConnectionBooksEachByteOnce) {
  MonitorRig rig;
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + twoPeriodTariff());
  rig.dir.writeAccounts("[Default]\nAccount=100\n");
  rig.build();

  rig.ras.counters = TrafficBytes{4'294'966'296, 100};  // 1000 short of a 32-bit wrap
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  ASSERT_EQ(rig.stateCode(), "on");
  EXPECT_EQ(rig.meter().volume(), (TrafficBytes{0, 0}));

  rig.ras.counters = TrafficBytes{3000, 600};  // wrapped
  rig.advanceTo(12, 0, 30);
  EXPECT_EQ(rig.meter().volume(), (TrafficBytes{4000, 500}));
  rig.ras.counters = TrafficBytes{300, 30};  // a new interface counts from 0 again
  rig.advanceTo(12, 0, 40);
  rig.ras.counters = TrafficBytes{800, 80};
  rig.advanceTo(12, 0, 50);
  EXPECT_EQ(rig.meter().volume(), (TrafficBytes{4800, 580}));

  rig.advanceTo(12, 1, 1);  // the dearer period splits the connection
  EXPECT_EQ(rig.stat("Default", "CountTD"), "1");
  EXPECT_EQ(rig.stat("Default", "RxTC"), "4800");
  EXPECT_EQ(rig.stat("Default", "TxTC"), "580");
  EXPECT_EQ(rig.meter().volume(), (TrafficBytes{0, 0}));

  rig.ras.counters = TrafficBytes{1800, 180};
  rig.advanceTo(12, 1, 30);
  rig.machine().userReset();  // and once more by hand
  EXPECT_EQ(rig.stat("Default", "RxTC"), "1000");
  rig.ras.counters = TrafficBytes{1900, 200};
  rig.advanceTo(12, 1, 40);
  rig.ras.drop();
  rig.advanceTo(12, 1, 45);
  ASSERT_EQ(rig.stateCode(), "of");

  EXPECT_EQ(rig.stat("Default", "CountTD"), "3");
  EXPECT_EQ(rig.stat("Default", "RxTC"), "100");
  EXPECT_EQ(rig.stat("Default", "RxPC"), "1000");
  EXPECT_EQ(rig.stat("Default", "TxTC"), "20");
  EXPECT_EQ(rig.stat("Default", "RxTT"), "5900");
  EXPECT_EQ(rig.stat("Default", "TxTT"), "700");
  EXPECT_EQ(rig.stat("Default", "Gr1rx"), "5900");  // a Monday
  EXPECT_EQ(rig.meter().volume(), (TrafficBytes{0, 0}));
}

}  // namespace
}  // namespace tarvik
