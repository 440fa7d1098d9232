#include "settings/entry_checks.h"

#include <charconv>

namespace tarvik {

std::optional<int> parseWholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

SecondsFix checkSeconds(std::string_view text, bool zeroAllowed) {
  const std::optional<int> seconds = parseWholeNumber(text);
  if (!seconds) return SecondsFix::Restore;
  if (zeroAllowed) return *seconds < 0 ? SecondsFix::Zero : SecondsFix::Keep;
  if (*seconds <= 0) return SecondsFix::One;
  return SecondsFix::Keep;
}

std::optional<std::size_t> firstNonNumber(std::span<const std::string> texts) {
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (!parseWholeNumber(texts[i])) return i;
  return std::nullopt;
}

}  // namespace tarvik
