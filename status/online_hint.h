#pragma once

#include <string>
#include <string_view>

#include "config/number_text.h"
#include "platform/clock.h"
#include "platform/traffic.h"
#include "platform/volume_text.h"

namespace tarvik {

// The lines the tray icon's and the status window's tooltips show while a connection is
// metered: its volume, when the balance runs out and the next tariff change.

// The volume line is volumeText (platform/volume_text.h), shared with the statistics grid.

// "счёт исчерпается ≈ в 21:40"; on another day than `now` with its date, "≈ 09.12 в 21:40".
std::string emptyAccountText(const LocalTime& when, const LocalTime& now);
// "с 18:00: 1200 ц/час"; minute 1440 (the next midnight) reads "с 00:00".
std::string tariffChangeText(int minute, int costPerHour, std::string_view currencyZ);

}  // namespace tarvik
