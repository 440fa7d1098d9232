// Booking a finished connection: failures, entry names that cannot be sections as they are,
// and one replacement per touched file.
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "config/entry_section.h"
#include "monitor/monitor_rig.h"

namespace tarvik {
namespace {

using test::MonitorRig;

TEST(CloseOutFailure, KeepsTheLineOpenAndTheNextConnectionStartsItsOwnLine) {
  MonitorRig rig;
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Sec"));
  rig.dir.writeAccounts("[Default]\nAccount=10\n");
  // A folder where the statistics file should be: every replacement of it fails.
  std::filesystem::create_directory(rig.dir.files().statistics());
  rig.build();

  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 0, 11, 500);
  rig.ras.drop();
  const std::size_t mark = rig.logMark();
  rig.advanceTo(12, 0, 12);

  EXPECT_EQ(rig.logSince(mark), "\r\n07.12.2026 12:00:12\r\n Disconnected.\r\n");
  ASSERT_FALSE(rig.user.balloons.empty());
  EXPECT_EQ(rig.user.balloons.back().text,
            "Соединение с интернетом завершено.\nВремя online: 00:00:10\nФинансовые затраты "
            "(ц): 10\nСостояние счёта ($): 9,9\nP.S.: произошла ошибка во время "
            "сохранения статистики.");
  EXPECT_EQ(rig.account("Default"), "10");  // the balance comes after the statistics
  EXPECT_EQ(rig.quickLines(), "07.12.2026 12:00:01");
  EXPECT_EQ(rig.stateCode(), "of");
  EXPECT_FALSE(rig.meter().running());

  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 13);
  rig.advanceTo(12, 0, 18, 500);
  rig.ras.drop();
  rig.advanceTo(12, 0, 19);
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01\r\n"
            "07.12.2026 12:00:13");  // the second close-out failed too
}

TEST(CloseOutFailure, VirtualHalfReportsTheFailureToo) {
  MonitorRig rig;
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Sec"));
  std::filesystem::create_directory(rig.dir.files().accounts());
  rig.build();
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 0, 3, 500);
  rig.machine().userReset();
  EXPECT_NE(rig.user.balloons.back().text.find("P.S.: произошла ошибка"), std::string::npos);
  EXPECT_EQ(rig.stat("Default", "CountTT"), "1");  // written before the failure, kept
  EXPECT_EQ(rig.stateCode(), "on");                // metering goes on after the split
  EXPECT_TRUE(rig.meter().running());
}

// Money computed in single precision is written and shown as the user would work it out:
// 150,50 less a call of 80 hundredths is 149,7 in the balance file, the log, the quick log
// and the balloon, not 149,699996948242; a cost that does not end (80 an hour for 20 min) keeps
// seven digits in the statistics.
TEST(CloseOutMoney, SinglePrecisionNoiseIsNotWritten) {
  MonitorRig rig;
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Sec"));
  rig.dir.writeAccounts("[Default]\nAccount=150,50\n");
  rig.build();
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 1, 21, 500);
  rig.ras.drop();
  const std::size_t mark = rig.logMark();
  rig.advanceTo(12, 1, 22);

  EXPECT_EQ(rig.account("Default"), "149,7");
  const std::string log = rig.logSince(mark);
  EXPECT_NE(log.find(" Financial expences: 80 ц\r\n Account value: $ 149,7\r\n"), std::string::npos)
      << log;
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01 = 00:01:20 + [$ | ~0,8    | =149,7  ] <Default>\r\n");
  EXPECT_NE(rig.user.balloons.back().text.find("Состояние счёта ($): 149,7"), std::string::npos);
  EXPECT_EQ(rig.stat("Default", "MoneyTT"), "80");

  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(80, "Slow"));
  rig.advanceTo(12, 2, 0);
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 2, 1);
  rig.advanceTo(12, 22, 1, 500);
  rig.ras.drop();
  rig.advanceTo(12, 22, 2);
  EXPECT_EQ(rig.stat("Default", "MoneyTC"), "26,66667");
  EXPECT_EQ(rig.stat("Default", "MoneyTT"), "106,6667");
  EXPECT_EQ(rig.account("Default"), "149,4333");
}

TEST(EntrySections, ANameThatCannotBeASectionKeepsItsOwnSettingsAndCounters) {
  const std::string odd = "Work]\nX=1";
  const std::string plain = "Work";
  const std::string section = sectionForEntry(odd);
  ASSERT_NE(section, odd);
  MonitorRig rig;
  rig.dir.writeConfig("[" + section + "]\nDone=1\nCurrencyDisplayA=руб\nFreeTime=0\n" +
                      MonitorRig::uniformTariff(3600, "Odd") + "[Work]\nDone=1\n");
  rig.dir.writeAccounts("[" + section + "]\nAccount=5\n[Work]\nAccount=77\n");
  rig.entries = {plain, odd};
  rig.build();

  rig.ras.dial(odd, kRasConnected);
  rig.advanceTo(12, 0, 1);
  EXPECT_EQ(rig.machine().currentEntry(), odd);
  EXPECT_EQ(rig.meter().tariffName(), "Odd");
  rig.advanceTo(12, 0, 11, 500);
  rig.ras.drop();
  rig.advanceTo(12, 0, 12);

  EXPECT_EQ(rig.stat(section, "TimeTC"), "10");
  EXPECT_EQ(rig.stat(plain, "TimeTC"), "<none>");
  EXPECT_EQ(rig.account(section), "4,9");
  EXPECT_EQ(rig.account(plain), "77");
  EXPECT_EQ(rig.quickLines(),
            "07.12.2026 12:00:01 = 00:00:10 + [руб| ~0,1    | =4,9    ] <Work] X=1>\r\n");
  // The line break of the name does not break the log's lines either.
  EXPECT_NE(rig.eventLog().find(" Entry settings: Work] X=1\r\n"), std::string::npos);
}

TEST(EntrySections, UnsavedOrUnlistedEntriesAreMeteredAsDefault) {
  for (const std::string entry : {"Saved", "Unsaved", "Elsewhere", "saved"}) {
    MonitorRig rig;
    rig.dir.writeConfig("[Saved]\nDone=1\n[Unsaved]\nFreeTime=0\n");
    rig.entries = {"Saved", "Unsaved"};
    rig.build();
    rig.ras.dial(entry, kRasConnected);
    rig.advanceTo(12, 0, 1);
    // Only a listed entry (compared exactly) with saved settings is its own settings entry.
    EXPECT_EQ(rig.machine().currentEntry(), entry == "Saved" ? "Saved" : "Default") << entry;
  }
}

// Counts the atomic replacements (renames into place) of the program's data files.
class ReplacementCounter {
 public:
  explicit ReplacementCounter(const std::filesystem::path& dir) {
    fd_ = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(fd_, dir.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
  }
  ~ReplacementCounter() { close(fd_); }
  std::map<std::string, int> drain() {
    std::map<std::string, int> counts;
    alignas(inotify_event) char buf[8192];
    for (;;) {
      const ssize_t n = read(fd_, buf, sizeof buf);
      if (n <= 0) break;
      for (char* p = buf; p < buf + n;) {
        auto* e = reinterpret_cast<inotify_event*>(p);
        if (e->len > 0) counts[std::string(e->name) + (e->mask & IN_MOVED_TO ? "" : "*")]++;
        p += sizeof(inotify_event) + e->len;
      }
    }
    return counts;
  }

 private:
  int fd_;
};

TEST(CloseOutFiles, EachTouchedFileIsReplacedOnce) {
  MonitorRig rig;
  rig.dir.writeConfig("[Default]\nFreeTime=0\n" + MonitorRig::uniformTariff(3600, "Sec"));
  rig.dir.writeAccounts("[Default]\nAccount=10\n");
  rig.dir.writeStatistics("[Default]\nCountTT=4\n");
  rig.build();
  rig.ras.dial("Home", kRasConnected);
  rig.advanceTo(12, 0, 1);
  rig.advanceTo(12, 0, 11, 500);
  rig.ras.drop();

  ReplacementCounter counter(rig.dir.path());
  rig.advanceTo(12, 0, 12);
  const std::map<std::string, int> counts = counter.drain();
  EXPECT_EQ(counts.count("TarvikS.Kfg") ? counts.at("TarvikS.Kfg") : 0, 1);
  EXPECT_EQ(counts.count("TarvikA.Kfg") ? counts.at("TarvikA.Kfg") : 0, 1);
  EXPECT_EQ(counts.count("TarvikC.Kfg"), 0u);  // the settings are only read
  EXPECT_EQ(rig.stat("Default", "CountTT"), "5");
}

}  // namespace
}  // namespace tarvik
