#include "monitor/day_plan_cache.h"

#include "tariff/day_plan_store.h"

namespace tarvik {

void DayPlanCache::checkFile() {
  // Without a change notice about the file since the last look, the plans stand.
  if (checked_ && !seen_.mayHaveChanged(config_.path())) return;
  std::optional<FileStamp> stamp = FileStamp::at(config_.path());
  // A file that went away (deleted, or its folder renamed away) holds no new plan: reading
  // it would give the default tariff and price the rest of the connection at nothing, so the
  // plans read last stay until a file is back.
  missing_ = checked_ && !stamp && (stamp_ || missing_);
  if (!checked_ || (stamp != stamp_ && !missing_)) {
    for (Slot& slot : slots_) slot.valid = false;
  }
  stamp_ = stamp;
  checked_ = true;
}

const DayPlan& DayPlanCache::plan(const std::string& entry, int weekday) {
  if (!checked_) checkFile();
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Slot& slot = slots_[i];
    if (slot.valid && slot.weekday == weekday && slot.entry == entry) {
      lastUsed_ = i;
      return slot.plan;
    }
  }
  if (missing_ && slots_[lastUsed_].valid && slots_[lastUsed_].entry == entry)
    return slots_[lastUsed_].plan;
  // The slot not used last goes, so today's plan stays beside tomorrow's.
  const std::size_t replaced = slots_[0].valid ? 1 - lastUsed_ : 0;
  Slot& slot = slots_[replaced];
  slot.plan = readDayPlan(config_, tariffSection(config_, entry), weekday);
  slot.entry = entry;
  slot.weekday = weekday;
  slot.valid = true;
  lastUsed_ = replaced;
  return slot.plan;
}

}  // namespace tarvik
