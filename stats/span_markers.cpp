#include "stats/span_markers.h"

#include <charconv>

#include "platform/time_text.h"

namespace tarvik {

SpanMarkers spanMarkersOf(const LocalTime& t) {
  return {twoDigits(t.day) + "." + twoDigits(t.month), twoDigits(weekNumberMondayFirst(t)),
          twoDigits(t.month), std::to_string(t.year)};
}

std::uint64_t storedBytes(std::string_view text) {
  std::uint64_t bytes = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
  return error == std::errc() && end == text.data() + text.size() ? bytes : 0;
}

}  // namespace tarvik
