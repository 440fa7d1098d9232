#pragma once

// The connections whose close-out fails, which the kept-bookings tests start from.

#include <filesystem>

#include "app/program_fixture.h"

namespace tarvik {

inline const char* const kFailureBalloonEnd =
    "\nP.S.: произошла ошибка во время сохранения статистики.";

// One connection from 12:00:01 to 12:00:21 (19 metered seconds at one hundredth a second)
// whose close-out fails because `file` is read-only.
inline void failingConnection(Wiring& w, Program& p, const std::filesystem::path& file) {
  setWritable(file, false);
  w.ras.dial("Home", kRasConnected);
  w.advanceTo(12, 0, 1);
  w.advanceTo(12, 0, 20);
  w.ras.drop();
  const std::size_t mark = w.logText().size();
  w.advanceTo(12, 0, 21);
  ASSERT_FALSE(p.user.balloons.empty());
  EXPECT_TRUE(p.user.balloons.back().text.ends_with(kFailureBalloonEnd));
  EXPECT_EQ(w.logText().substr(mark), "\r\n07.12.2026 12:00:21\r\n Disconnected.\r\n");
  EXPECT_TRUE(std::filesystem::exists(w.dir.files().keptBookings()));
  EXPECT_FALSE(w.anyJournal());
}

// The failing connection, then a second one from 12:01:01 to 12:01:21 kept behind it while
// the statistics file stays read-only.
inline void twoKeptBookings(Wiring& w, Program& p) {
  failingConnection(w, p, w.dir.files().statistics());
  w.advanceTo(12, 1, 0);
  w.ras.dial("Home", kRasConnected);
  w.advanceTo(12, 1, 1);
  w.advanceTo(12, 1, 20);
  w.ras.drop();
  w.advanceTo(12, 1, 21);
}

}  // namespace tarvik
