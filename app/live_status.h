#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace tarvik {

class Engine;

// What panels and scripts may read of the running program. Money is in whole units of
// `currency`, as the balance is kept; the price is per hour.
struct LiveFigures {
  std::string service;  // the remote-access service in use ("" when none)
  std::string state;    // "offline", "authenticating" or "online"
  std::string entry;    // the settings entry metered ("" while offline)
  std::int64_t secondsOnline = 0;
  double cost = 0;
  std::string currency;
  double balance = 0;
  std::uint64_t received = 0;
  std::uint64_t sent = 0;
  std::string forecastTime;  // "21:40" when the balance runs out at this price, else ""
  double price = 0;

  bool operator==(const LiveFigures&) const = default;
};

// The figures as the engine holds them now; `service` is the remote-access service's name.
LiveFigures readLiveFigures(const Engine& engine, std::string service);

// Decides which changed figures are announced and when: a change of state at once, anything
// else at most once a second, so a listener wakes no more often than the display changes.
// A change held back is announced by the first look a second after the last announcement.
class LiveAnnouncer {
 public:
  static constexpr std::int64_t kMinGapMs = 1000;

  explicit LiveAnnouncer(const Clock& clock) : clock_(clock) {}

  // One look at the figures: the names of the properties to announce now (empty: none).
  std::vector<std::string_view> look(const LiveFigures& now);
  // The figures last announced (or first seen).
  const LiveFigures& announced() const { return announced_; }

 private:
  const Clock& clock_;
  bool seen_ = false;
  LiveFigures announced_;
  std::int64_t announcedAt_ = 0;
};

}  // namespace tarvik
