#include "platform/ras_switch.h"

#include "platform/event_log.h"

namespace tarvik {

RasSwitch::RasSwitch(std::vector<RasCandidate> candidates, EventLog& log)
    : candidates_(std::move(candidates)), log_(log) {
  chosen_ = firstPresent();
  chosenInstance_ = instanceOf(chosen_);
  if (chosen_ != kNone) service_ = candidates_[chosen_].make();
  log_.append(chosen_ == kNone ? " Remote access: none found."
                               : " Remote access: " + candidates_[chosen_].logName + ".");
}

int RasSwitch::firstPresent() const {
  for (std::size_t i = 0; i < candidates_.size(); ++i) {
    if (candidates_[i].present()) return static_cast<int>(i);
  }
  return kNone;
}

std::uint64_t RasSwitch::instanceOf(int candidate) const {
  if (candidate == kNone || !candidates_[candidate].instance) return 0;
  return candidates_[candidate].instance();
}

bool RasSwitch::reselect() {
  const int next = firstPresent();
  const std::uint64_t instance = instanceOf(next);
  if (next == chosen_ && instance == chosenInstance_) return false;
  chosen_ = next;
  chosenInstance_ = instance;
  // The old service goes first: its handles mean nothing to the new one.
  service_.reset();
  settling_ = true;
  if (chosen_ == kNone) {
    log_.append(" Remote access: none found.");
    return true;
  }
  service_ = candidates_[chosen_].make();
  log_.append(" Remote access: " + candidates_[chosen_].logName + ".");
  if (onSwitch_) onSwitch_();
  return true;
}

std::string RasSwitch::currentName() const {
  return chosen_ == kNone ? std::string() : candidates_[chosen_].logName;
}

bool RasSwitch::available() {
  reselect();
  return service_ && service_->available();
}

std::vector<RasConnection> RasSwitch::activeConnections() {
  if (!service_) return {};
  if (settling_) {
    settling_ = false;
    return {};
  }
  return service_->activeConnections();
}

std::optional<std::int32_t> RasSwitch::connectionState(std::uint64_t handle) {
  if (!service_) return std::nullopt;
  return service_->connectionState(handle);
}

void RasSwitch::hangUp(std::uint64_t handle) {
  if (service_) service_->hangUp(handle);
}

std::optional<std::vector<std::string>> RasSwitch::phonebookEntries() {
  if (!service_) return std::nullopt;
  return service_->phonebookEntries();
}

std::optional<TrafficBytes> RasSwitch::trafficCounters(std::uint64_t handle) {
  if (!service_) return std::nullopt;
  return service_->trafficCounters(handle);
}

}  // namespace tarvik
