#include "stats/weekly_graph.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <vector>

#include "config/ini_file.h"

namespace tarvik {

namespace {

const std::vector<GraphAxisRow>& axes() {
  namespace s = stats_keys;
  namespace e = entry_keys;
  static const std::vector<GraphAxisRow> table{
      {GraphAxis::Time, "z_x_time", s::weeklyTime, 60, e::kGraph[0]},
      {GraphAxis::Money, "z_x_buck", s::weeklyMoney, 100, e::kGraph[1]},
      {GraphAxis::MoneySmall, "z_x_cent", s::weeklyMoney, 1, e::kGraph[2]},
      {GraphAxis::Connections, "z_x_ccnt", s::weeklyCount, 1, e::kGraph[3]},
      {GraphAxis::Volume, "z_x_vol", s::weeklyReceived, 1024 * 1024, e::kGraph[4], s::weeklySent},
  };
  return table;
}

// A weekday's value: the volume's byte counts outgrow the int range the other keys keep to;
// a text that is not a whole number counts as 0, as the int reading makes it.
long long storedValue(const IniFile& file, const std::string& section, const stats_keys::K& key) {
  const std::string text = file.readString(section, key.name, "");
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc() && end == text.data() + text.size()) return value;
  return file.readInt(section, key.name, 0);
}

}  // namespace

std::span<const GraphAxisRow> graphAxes() {
  return axes();
}

const GraphAxisRow& graphAxis(int axis) {
  for (const GraphAxisRow& row : axes())
    if (static_cast<int>(row.axis) == axis) return row;
  return axes()[static_cast<int>(GraphAxis::MoneySmall)];
}

std::string axisCaption(const GraphAxisRow& row, const CurrencyNames& currency) {
  switch (row.axis) {
    case GraphAxis::Time:
      return "ось Y:  ВРЕМЯ";
    case GraphAxis::Money:
      return "ось Y:  ДЕНЬГИ  " + currency.sign;
    case GraphAxis::MoneySmall:
      return "ось Y:  ДЕНЬГИ  " + currency.hundredthSign;
    case GraphAxis::Volume:
      return "ось Y:  ТРАФИК";
    case GraphAxis::Connections:
      break;
  }
  return "ось Y:  КОЛ-ВО";
}

std::string axisUnit(const GraphAxisRow& row, const CurrencyNames& currency) {
  switch (row.axis) {
    case GraphAxis::Time:
      return "МИН.";
    case GraphAxis::Money:
      return currency.sign;
    case GraphAxis::MoneySmall:
      return currency.hundredthSign;
    case GraphAxis::Volume:
      return "МБ";
    case GraphAxis::Connections:
      break;
  }
  return "РАЗ";
}

int barPosition(long long stored, long long divisor, int maximum) {
  if (maximum <= 0 || divisor <= 0) return 0;
  long long scaled = 0;
  if (__builtin_mul_overflow(stored / divisor, 100LL, &scaled))
    return stored > 0 ? INT_MAX : INT_MIN;
  return static_cast<int>(std::clamp<long long>(scaled / maximum, INT_MIN, INT_MAX));
}

std::array<int, 7> readWeeklyPositions(const ProgramFiles& files, std::string_view entry,
                                       const GraphAxisRow& axis, int maximum) {
  const IniFile statistics(files.statistics());
  const std::string section = sections::statistics(entry).name();
  std::array<int, 7> positions{};
  for (int weekday : kGraphWeekdays) {
    long long stored = storedValue(statistics, section, axis.key(weekday));
    if (axis.addedKey) {
      const long long added = storedValue(statistics, section, axis.addedKey(weekday));
      if (__builtin_add_overflow(stored, added, &stored))
        stored = added > 0 ? LLONG_MAX : LLONG_MIN;
    }
    positions[weekday] = barPosition(stored, axis.divisor, maximum);
  }
  return positions;
}

}  // namespace tarvik
