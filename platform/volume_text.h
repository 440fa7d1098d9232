#pragma once

#include <cstdint>
#include <string>

#include "config/number_text.h"
#include "platform/traffic.h"

namespace tarvik {

// How a volume reads wherever it is shown: the tooltips while online, the statistics grid and
// the report tool.

// Bytes in the largest binary unit that leaves at least 1 of it, with one decimal beyond
// bytes: "512 Б", "1,5 КБ", "12,4 МБ", "2,0 ГБ".
std::string byteText(std::uint64_t bytes, const NumberFormat& format);
// "↓ 12,4 МБ  ↑ 1,1 МБ": received, then sent.
std::string volumeText(const TrafficBytes& volume, const NumberFormat& format);

}  // namespace tarvik
