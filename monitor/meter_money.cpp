#include "monitor/meter_money.h"

namespace tarvik {

MeterMoney::Figures MeterMoney::at(std::int32_t seconds) const {
  Figures f;
  f.withinFreeTime = freeTime > seconds;
  if (truncate && !f.withinFreeTime && seconds % 60 != 0) seconds = (seconds / 60 + 1) * 60;
  f.bookedSeconds = seconds;
  // In 64 bits: 30000 hundredths an hour for 20 hours already passes 2^31, and a product
  // that wrapped would turn a long connection's cost negative.
  const std::int64_t product = static_cast<std::int64_t>(costPerHour) * seconds;
  const float rawProduct = static_cast<float>(product);
  f.cost = static_cast<float>(static_cast<long double>(rawProduct) * (1.0L / 3600));
  if (f.withinFreeTime) f.cost = 0;
  f.balance = static_cast<float>(static_cast<long double>(startBalance) -
                                 static_cast<long double>(f.cost) * 0.01L);
  return f;
}

std::optional<std::int32_t> secondWhenEmpty(const MeterMoney& money, std::int32_t from,
                                            std::int32_t horizon) {
  if (money.costPerHour <= 0 || !(money.startBalance > 0) || from < 0 || horizon < 0)
    return std::nullopt;
  const auto empty = [&](std::int32_t s) { return money.at(s).balance <= 0; };
  std::int64_t last = static_cast<std::int64_t>(from) + horizon;
  if (last > INT32_MAX / 2) last = INT32_MAX / 2;
  if (!empty(static_cast<std::int32_t>(last))) return std::nullopt;
  // The balance only goes down as the seconds go up: the first empty second is found by
  // halving.
  std::int32_t low = from;
  auto high = static_cast<std::int32_t>(last);
  while (low < high) {
    const std::int32_t mid = low + (high - low) / 2;
    if (empty(mid)) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return low;
}

}  // namespace tarvik
