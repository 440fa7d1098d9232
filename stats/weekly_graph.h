#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "config/keys.h"
#include "config/program_files.h"
#include "stats/currency_names.h"

namespace tarvik {

// One choice of the weekly graph's Y axis: its radio button, the weekday keys it reads (the
// sum of two for the volume, received and sent), what they are divided by, and where its
// scale maximum is remembered.
struct GraphAxisRow {
  GraphAxis axis;
  std::string_view objectName;  // z_x_...
  stats_keys::K (*key)(int weekday);
  long long divisor;
  entry_keys::I rememberedMaximum;
  stats_keys::K (*addedKey)(int weekday) = nullptr;
};

// The axes in the order of their "GraphX" values.
std::span<const GraphAxisRow> graphAxes();
// The row of `axis`; the hundredths axis for a value no row has.
const GraphAxisRow& graphAxis(int axis);

// Caption of the axis's button and its unit label beside the maximum, in the entry's currency.
std::string axisCaption(const GraphAxisRow& row, const CurrencyNames& currency);
std::string axisUnit(const GraphAxisRow& row, const CurrencyNames& currency);

// The bars left to right, Monday to Sunday, by weekday number (0 = Sunday).
inline constexpr std::array<int, 7> kGraphWeekdays{1, 2, 3, 4, 5, 6, 0};

// A day's stored value on the axis's scale: value / divisor * 100 / maximum (integer
// divisions), so 100 is a full bar. Held within the int range; a maximum of 0 or below (the
// page never offers one) shows nothing.
int barPosition(long long stored, long long divisor, int maximum);

// The positions of the seven bars, indexed by weekday number.
std::array<int, 7> readWeeklyPositions(const ProgramFiles& files, std::string_view entry,
                                       const GraphAxisRow& axis, int maximum);

}  // namespace tarvik
