#include "settings/qt/pages/stat_graph.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "settings/qt/page_widgets.h"
#include "stats/qt/dd_led_bar.h"
#include "stats/weekly_graph.h"

namespace tarvik {

namespace {

constexpr int kBarWidth = 10;
constexpr int kBarHeight = 88;
constexpr int kBarSegment = 5;
constexpr int kLowToMid = 32;
constexpr int kMidToHi = 10;
const QColor kBarBackground(100, 100, 100);

// The day letters by weekday number (0 = Sunday).
constexpr std::array<const char*, 7> kDayLetters{"В", "П", "В", "С", "Ч", "П", "С"};
constexpr int kSaturday = 6;
constexpr int kSunday = 0;

}  // namespace

using namespace widgets;

StatGraph::StatGraph(QWidget* parent)
    : QGroupBox(QString::fromUtf8(" г р а ф и к    з а    н е д е л ю "), parent),
      currency_(currencyNames(0, defaultCustomCurrency())) {
  setObjectName("z_graph");
  auto* bars = new QGridLayout;
  bars->setHorizontalSpacing(3);
  bars->setVerticalSpacing(0);
  for (std::size_t column = 0; column < kGraphWeekdays.size(); ++column) {
    const int d = kGraphWeekdays[column];
    auto* bar = new TDDLedBar(this);
    bar->setObjectName(QString("graph_%1").arg(d));
    bar->setFixedSize(kBarWidth, kBarHeight);
    bar->setBackColor(kBarBackground);
    bar->setMidToHiPos(kMidToHi);
    bar->setLowToMidPos(kLowToMid);
    bar->setBarSize(kBarSegment);
    bars_[d] = bar;
    days_[d] = label(this, "", kDayLetters[d]);
    days_[d]->setObjectName(QString("day_%1").arg(d));
    days_[d]->setAlignment(Qt::AlignHCenter);
    bars->addWidget(bar, 0, static_cast<int>(column), Qt::AlignHCenter);
    bars->addWidget(days_[d], 1, static_cast<int>(column), Qt::AlignHCenter);
  }
  for (int d : {kSaturday, kSunday}) days_[d]->installEventFilter(this);

  auto* choices = new QVBoxLayout;
  for (const GraphAxisRow& row : graphAxes()) {
    const int axis = static_cast<int>(row.axis);
    auto* button = radio(this, row.objectName.data(), "");
    button->setText(QString::fromStdString(axisCaption(row, currency_)));
    connect(button, &QRadioButton::clicked, this, [this, axis] { axisClicked(axis); });
    axes_.push_back(button);
    remembered_.push_back(row.rememberedMaximum.def);
    choices->addWidget(button);
  }
  e_max_ = spin(this, "e_max");
  s_max_ = label(this, "s_max", "");
  s_max_->setMinimumWidth(s_max_->fontMetrics().horizontalAdvance("МИН.") * 2);
  auto* scale = new QHBoxLayout;
  scale->addWidget(label(this, "s_max_caption", "MAX ="));
  scale->addWidget(e_max_);
  scale->addWidget(s_max_);
  scale->addStretch();
  choices->addLayout(scale);
  choices->addStretch();
  connect(e_max_, &QSpinBox::valueChanged, this, [this] { onMaximumChanged(); });

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(bars);
  layout->addLayout(choices, 1);
}

void StatGraph::setPositions(const std::array<int, 7>& byWeekday) {
  for (int d = 0; d < 7; ++d) bars_[d]->setPosition(byWeekday[d]);
}

void StatGraph::setCurrency(const CurrencyNames& currency) {
  currency_ = currency;
  for (const GraphAxisRow& row : graphAxes())
    axes_[static_cast<int>(row.axis)]->setText(QString::fromStdString(axisCaption(row, currency_)));
  showUnit();
}

void StatGraph::setMoneyAxisCaptions(const QString& whole, const QString& hundredths) {
  axes_[static_cast<int>(GraphAxis::Money)]->setText(whole);
  axes_[static_cast<int>(GraphAxis::MoneySmall)]->setText(hundredths);
}

int StatGraph::checkedAxis() const {
  for (std::size_t i = 0; i < axes_.size(); ++i)
    if (axes_[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

int StatGraph::maximum() const {
  return e_max_->value();
}

void StatGraph::setRemembered(std::vector<int> maxima) {
  maxima.resize(remembered_.size());
  remembered_ = std::move(maxima);
}

void StatGraph::showUnit() {
  const int axis = checkedAxis();
  s_max_->setText(axis < 0 ? QString()
                           : QString::fromStdString(axisUnit(graphAxis(axis), currency_)));
}

void StatGraph::axisClicked(int axis) {
  showUnit();
  {
    // One redraw for the click, whether or not the maximum differs.
    const QSignalBlocker quiet(e_max_);
    e_max_->setValue(remembered_[axis]);
  }
  onMaximumChanged();
}

void StatGraph::onMaximumChanged() {
  const int axis = checkedAxis();
  if (axis >= 0) remembered_[axis] = e_max_->value();
  emit maximumChanged();
}

void StatGraph::applyWeekendColours(int weekEnd) {
  const QColor plain = QApplication::palette().color(QPalette::ButtonText);
  const QColor saturday = weekEnd == static_cast<int>(WeekendColours::SaturdayBlue) ? Qt::blue
                          : weekEnd == static_cast<int>(WeekendColours::Plain)      ? plain
                                                                                    : Qt::red;
  const QColor sunday = weekEnd == static_cast<int>(WeekendColours::Plain) ? plain : Qt::red;
  for (auto [d, colour] : {std::pair{kSaturday, saturday}, std::pair{kSunday, sunday}}) {
    QPalette p = days_[d]->palette();
    p.setColor(QPalette::WindowText, colour);
    days_[d]->setPalette(p);
  }
}

bool StatGraph::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick &&
      (watched == days_[kSaturday] || watched == days_[kSunday])) {
    emit weekendDoubleClicked();
    return true;
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace tarvik
