#include "settings/qt/month_estimate_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>
#include <optional>

#include "config/ini_file.h"
#include "stats/monthly_estimate.h"

namespace tarvik {

namespace {

std::optional<int> budget(QWidget* dialog) {
  if (auto* spin = dialog->findChild<QSpinBox*>("e_month")) return spin->value();
  if (auto* edit = dialog->findChild<QLineEdit*>("e_month")) {
    // The integer rule gives its default for a text that is not a number: two different
    // defaults tell such a text from one that holds either of them.
    const std::string text = edit->text().toStdString();
    const int first = parseProfileInt(text, 0);
    if (first == parseProfileInt(text, 1)) return first;
  }
  return std::nullopt;
}

}  // namespace

void showMonthEstimate(QWidget* dialog, int dayOfMonth) {
  auto* panel = dialog->findChild<QLabel*>("p_month");
  auto* spent = dialog->findChild<QLabel*>("st_exp_tm");
  const std::optional<int> limit = budget(dialog);
  if (!panel || !spent || !limit) return;
  const MonthEstimate estimate = estimateMonth(*limit, spent->text().toStdString(), dayOfMonth);
  panel->setText(QString::fromStdString(estimate.caption));
  QPalette colours = panel->palette();
  colours.setColor(QPalette::Window, QColor::fromRgb(estimate.rgb));
  panel->setPalette(colours);
  panel->setAutoFillBackground(true);
}

}  // namespace tarvik
