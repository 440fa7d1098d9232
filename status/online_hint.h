#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/number_text.h"
#include "platform/clock.h"
#include "platform/traffic.h"

namespace tarvik {

// The lines the tray icon's and the status window's tooltips show while a connection is
// metered: its volume, when the balance runs out and the next tariff change.

// Bytes in the largest binary unit that leaves at least 1 of it, with one decimal beyond
// bytes: "512 Б", "1,5 КБ", "12,4 МБ", "2,0 ГБ".
std::string byteText(std::uint64_t bytes, const NumberFormat& format);
// "↓ 12,4 МБ  ↑ 1,1 МБ": received, then sent.
std::string volumeText(const TrafficBytes& volume, const NumberFormat& format);
// "счёт исчерпается ≈ в 21:40"; on another day than `now` with its date, "≈ 09.12 в 21:40".
std::string emptyAccountText(const LocalTime& when, const LocalTime& now);
// "с 18:00: 1200 ц/час"; minute 1440 (the next midnight) reads "с 00:00".
std::string tariffChangeText(int minute, int costPerHour, std::string_view currencyZ);

}  // namespace tarvik
