#include "platform/clock.h"

namespace tarvik {
namespace {

// Days since 01.01.1970 of a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

int weekdayFromDays(std::int64_t days) {
  // 01.01.1970 was a Thursday (4).
  return static_cast<int>(days >= -4 ? (days + 4) % 7 : (days + 5) % 7 + 6);
}

constexpr std::int64_t kMsPerDay = 86'400'000;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

LocalTime makeLocalTime(int year, int month, int day, int hour, int minute, int second,
                        int millisecond) {
  LocalTime t{year, month, day, hour, minute, second, millisecond, 0};
  t.weekday = weekdayFromDays(daysFromCivil(year, month, day));
  return t;
}

std::int64_t toLocalMs(const LocalTime& t) {
  return daysFromCivil(t.year, t.month, t.day) * kMsPerDay +
         ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

LocalTime fromLocalMs(std::int64_t ms) {
  const std::int64_t days = floorDiv(ms, kMsPerDay);
  std::int64_t rest = ms - days * kMsPerDay;
  LocalTime t;
  civilFromDays(days, t.year, t.month, t.day);
  t.weekday = weekdayFromDays(days);
  t.millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  t.second = static_cast<int>(rest % 60);
  rest /= 60;
  t.minute = static_cast<int>(rest % 60);
  t.hour = static_cast<int>(rest / 60);
  return t;
}

int weekNumberMondayFirst(const LocalTime& t) {
  const std::int64_t days = daysFromCivil(t.year, t.month, t.day);
  const int yearDay = static_cast<int>(days - daysFromCivil(t.year, 1, 1));
  const int mondayBased = (t.weekday + 6) % 7;  // Monday = 0
  return (yearDay + 7 - mondayBased) / 7;
}

}  // namespace tarvik
