#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tariff/tariff.h"

namespace tarvik {

// Why the editor did not take a period or an edit of its list.
enum class PlanRefusal {
  None,
  EqualHours,       // start hour = end hour
  EndBeforeStart,   // end hour below start hour
  ListFull,         // a 25th period
  NothingSelected,  // replace or delete without a selected line
};

// The hours of a period must rise; minutes are not compared, so 10:50 - 11:10 passes.
PlanRefusal checkPeriod(const TariffPeriod& period);

// What the editor tells the user about a refusal (UTF-8); empty for None.
std::string_view refusalMessage(PlanRefusal refusal);

// One day plan as the tariff editor holds it: the period texts of its list in plan order
// (unsorted: where periods overlap the later one wins) and whether the list differs from
// what was last loaded or saved.
class DayPlanEditor {
 public:
  const std::vector<std::string>& lines() const { return lines_; }
  bool unsaved() const { return unsaved_; }

  // Appends the period's text after the checks and the 24-period limit.
  PlanRefusal add(const TariffPeriod& period);
  // Puts the period's text in place of `line` (-1: none selected); the length stays, so a
  // full list can still be edited.
  PlanRefusal replace(int line, const TariffPeriod& period);
  PlanRefusal remove(int line);

  // Replaces the list by a stored plan, every period passing the same checks as a typed one;
  // the refusals of the periods left out, in plan order. The list counts as saved after.
  std::vector<PlanRefusal> load(const DayPlan& plan);
  // The list as the stored form reads it back from its texts.
  DayPlan plan() const { return planFromTexts(lines_); }

  void markSaved() { unsaved_ = false; }
  void markUnsaved() { unsaved_ = true; }

 private:
  bool validLine(int line) const { return line >= 0 && line < static_cast<int>(lines_.size()); }

  std::vector<std::string> lines_;
  bool unsaved_ = false;
};

}  // namespace tarvik
