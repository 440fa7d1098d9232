#include "stats/weekly_graph.h"

#include <algorithm>
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
  };
  return table;
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
    case GraphAxis::Connections:
      break;
  }
  return "РАЗ";
}

int barPosition(long long stored, int divisor, int maximum) {
  if (maximum <= 0 || divisor <= 0) return 0;
  const long long position = stored / divisor * 100 / maximum;
  return static_cast<int>(std::clamp<long long>(position, INT_MIN, INT_MAX));
}

std::array<int, 7> readWeeklyPositions(const ProgramFiles& files, std::string_view entry,
                                       const GraphAxisRow& axis, int maximum) {
  const IniFile statistics(files.statistics());
  const std::string section = sections::statistics(entry).name();
  std::array<int, 7> positions{};
  for (int weekday : kGraphWeekdays)
    positions[weekday] =
        barPosition(statistics.readInt(section, axis.key(weekday).name, 0), axis.divisor, maximum);
  return positions;
}

}  // namespace tarvik
