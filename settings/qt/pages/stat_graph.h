#pragma once

#include <QGroupBox>
#include <array>
#include <vector>

#include "config/keys.h"
#include "stats/currency_names.h"

class QLabel;
class QRadioButton;
class QSpinBox;

namespace tarvik {

class TDDLedBar;

// The statistics page's weekly graph: seven LED bars Monday to Sunday with their day letters,
// the Y-axis buttons and the scale maximum with its unit. Each axis remembers its own maximum.
class StatGraph : public QGroupBox {
  Q_OBJECT

 public:
  explicit StatGraph(QWidget* parent);

  // Bar positions by weekday number (0 = Sunday).
  void setPositions(const std::array<int, 7>& byWeekday);
  // Captions of the money axes and the unit label follow the entry's currency.
  void setCurrency(const CurrencyNames& currency);
  // The money axes' captions, as the currency page words them.
  void setMoneyAxisCaptions(const QString& whole, const QString& hundredths);
  // The "GraphX" value of the checked axis button; -1 when none is checked.
  int checkedAxis() const;
  int maximum() const;
  // The remembered maxima, in the order of the axes.
  const std::vector<int>& remembered() const { return remembered_; }
  void setRemembered(std::vector<int> maxima);
  // Shows the checked axis's unit beside the maximum.
  void showUnit();
  void applyWeekendColours(int weekEnd);

  TDDLedBar* bar(int weekday) const { return bars_[weekday]; }

 signals:
  // The maximum changed, by the user or by an axis button: the graph needs drawing anew.
  void maximumChanged();
  // A double click on the Saturday or Sunday letter.
  void weekendDoubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void axisClicked(int axis);
  void onMaximumChanged();

  std::array<TDDLedBar*, 7> bars_{};
  std::array<QLabel*, 7> days_{};
  std::vector<QRadioButton*> axes_;
  std::vector<int> remembered_;
  QSpinBox* e_max_ = nullptr;
  QLabel* s_max_ = nullptr;
  CurrencyNames currency_;
};

}  // namespace tarvik
