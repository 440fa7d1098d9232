#pragma once

class QWidget;

namespace tarvik {

// The monthly estimate, shown in `p_month` from the budget in `e_month` and the statistics
// page's current-month money cell `st_exp_tm`, all found by name under `dialog`. Does nothing
// while the dialog lacks one of them. Called when the statistics are shown and when the budget
// changes.
void showMonthEstimate(QWidget* dialog, int dayOfMonth);

}  // namespace tarvik
