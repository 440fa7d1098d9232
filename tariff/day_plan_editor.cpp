#include "tariff/day_plan_editor.h"

#include <algorithm>

#include "tariff/period_text.h"

namespace tarvik {

namespace {

// A hand-edited file may hold any integers; the list's columns hold two digits for hours and
// minutes and five for the cost, so a value beyond them would shift every column after it.
TariffPeriod fitColumns(TariffPeriod p) {
  for (int* twoDigits : {&p.startHour, &p.startMinute, &p.endHour, &p.endMinute})
    *twoDigits = std::clamp(*twoDigits, 0, 99);
  p.costPerHour = std::clamp(p.costPerHour, 0, 99999);
  return p;
}

}  // namespace

PlanRefusal checkPeriod(const TariffPeriod& period) {
  if (period.startHour == period.endHour) return PlanRefusal::EqualHours;
  if (period.endHour < period.startHour) return PlanRefusal::EndBeforeStart;
  return PlanRefusal::None;
}

std::string_view refusalMessage(PlanRefusal refusal) {
  switch (refusal) {
    case PlanRefusal::EqualHours:
      return "Внимание! Час начала тарифного периода и час его окончания НЕ могут быть "
             "равными.\nP.S.: Вместо 12:00-12:59 следует вводить 12:00-13:00...";
    case PlanRefusal::EndBeforeStart:
      return "Внимание! Час начала тарифного периода должен быть меньше, чем час его окончания.";
    case PlanRefusal::ListFull:
      return "Допускается настройка максимум 24 тарифных периодов.";
    case PlanRefusal::NothingSelected:
      return "В списке тарифных периодов не выделен ни один пункт.";
    case PlanRefusal::None:
      break;
  }
  return {};
}

PlanRefusal DayPlanEditor::add(const TariffPeriod& period) {
  const TariffPeriod fitted = fitColumns(period);
  if (PlanRefusal refusal = checkPeriod(fitted); refusal != PlanRefusal::None) return refusal;
  if (static_cast<int>(lines_.size()) >= kMaxTariffPeriods) return PlanRefusal::ListFull;
  lines_.push_back(periodText(fitted));
  unsaved_ = true;
  return PlanRefusal::None;
}

PlanRefusal DayPlanEditor::replace(int line, const TariffPeriod& period) {
  if (!validLine(line)) return PlanRefusal::NothingSelected;
  const TariffPeriod fitted = fitColumns(period);
  if (PlanRefusal refusal = checkPeriod(fitted); refusal != PlanRefusal::None) return refusal;
  lines_[line] = periodText(fitted);
  unsaved_ = true;
  return PlanRefusal::None;
}

PlanRefusal DayPlanEditor::remove(int line) {
  if (!validLine(line)) return PlanRefusal::NothingSelected;
  lines_.erase(lines_.begin() + line);
  unsaved_ = true;
  return PlanRefusal::None;
}

std::vector<PlanRefusal> DayPlanEditor::load(const DayPlan& plan) {
  lines_.clear();
  std::vector<PlanRefusal> refusals;
  for (const TariffPeriod& period : plan) {
    if (PlanRefusal refusal = add(period); refusal != PlanRefusal::None)
      refusals.push_back(refusal);
  }
  unsaved_ = false;
  return refusals;
}

}  // namespace tarvik
