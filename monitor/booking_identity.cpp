#include "monitor/booking_identity.h"

#include <algorithm>
#include <climits>

#include "config/ini_file.h"
#include "config/keys.h"
#include "stats/statistics.h"

namespace tarvik {

std::string lastBookedIdentity(const ProgramFiles& files) {
  return readKey(IniFile(files.statistics()), sections::sharedStatistics(), stats_keys::kBooked);
}

std::string nextBookingIdentity(const ProgramFiles& files, std::string_view after) {
  const int booked = parseProfileInt(
      readKey(IniFile(files.statistics()), sections::sharedStatistics(), stats_keys::kBooked), 0);
  const int last = std::max(booked, parseProfileInt(after, 0));
  return std::to_string(last > 0 && last < INT_MAX ? last + 1 : 1);
}

bool bookStatisticsOnce(const ProgramFiles& files, NumberFormat format, EventLog& log,
                        const std::string& identity, std::string_view entry, int weekday,
                        int seconds, float cost, const TrafficBytes& volume) {
  return Statistics(files, format, log)
      .bookConnectionOnce(identity, entry, weekday, seconds, cost, volume);
}

}  // namespace tarvik
