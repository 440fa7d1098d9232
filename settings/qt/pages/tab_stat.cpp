#include "settings/qt/pages/tab_stat.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "config/ini_file.h"
#include "platform/qt/message_box.h"
#include "settings/qt/page_widgets.h"
#include "settings/qt/pages/stat_graph.h"
#include "stats/limit_span.h"
#include "stats/statistics.h"
#include "stats/weekly_graph.h"

namespace tarvik {

namespace {

constexpr int kCellWidth = 44;
constexpr int kBalanceWidth = 52;
constexpr int kOpenBalanceWidth = 102;
constexpr int kBalanceLength = 10;
constexpr int kAnswerWidth = 32;

struct RowHeader {
  const char* name;
  const char* caption;  // the money row's is completed by the currency sign
};
constexpr std::array<RowHeader, 4> kRowHeaders{{
    {"p_tim", " ВРЕМЯ  СОЕДИНЕНИЙ"},
    {"p_exp", " ФИНАНСОВЬIЕ  ЗАТРАТЬI  ("},
    {"p_num", " КОЛИЧЕСТВО  СОЕДИНЕНИЙ"},
    {"p_vol", " ↓  ПРИНЯТО\n ↑  ОТПРАВЛЕНО"},
}};
// Under the grid; the connection's columns have no caption.
constexpr std::array<const char*, kSheetColumns> kColumnCaptions{
    "", "ДЕНЬ", "НЕДЕЛЯ", "МЕСЯЦ", "", "ДЕНЬ", "НЕДЕЛЯ", "МЕСЯЦ", "ВСЕГО"};

QString qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// A volume of four digits ("1023,9 МБ") is longer than the other cells' texts: its row takes
// a smaller size of the page's font, two steps at most, until the longest line fits; one size
// for the whole row, so that it reads evenly.
void fitLines(const std::vector<QLabel*>& row) {
  if (row.empty()) return;
  QFont font = row.front()->parentWidget()->font();
  const int room = kCellWidth - 2 * row.front()->frameWidth() - 2;
  const auto widest = [&] {
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QLabel* cell : row)
      for (const QString& line : cell->text().split('\n'))
        width = std::max(width, metrics.horizontalAdvance(line));
    return width;
  };
  for (int step = 0; step < 2 && widest() > room; ++step) {
    if (font.pixelSize() > 0)
      font.setPixelSize(font.pixelSize() - 1);
    else
      font.setPointSizeF(font.pointSizeF() - 0.5);
  }
  for (QLabel* cell : row) cell->setFont(font);
}

QLabel* panel(QWidget* parent, const QString& name, const QString& text) {
  auto* p = new QLabel(text, parent);
  p->setObjectName(name);
  p->setFrameShape(QFrame::Panel);
  p->setFrameShadow(QFrame::Sunken);
  return p;
}

}  // namespace

using namespace widgets;

TabStat::TabStat(SettingsFrame& frame)
    : SettingsTab(PageId::Stat, frame, "tabStat"),
      currency_(currencyNames(0, defaultCustomCurrency())) {
  graph_ = new StatGraph(this);
  o_stat_ = named(new QPlainTextEdit(this), "o_stat");
  o_stat_->hide();
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->addWidget(buildGrid(), 0, 0, 1, 2);
  auto* left = new QVBoxLayout;
  left->addWidget(buildBalance());
  left->addWidget(buildActions());
  p_limit_ = panel(this, "p_limit", "");
  p_limit_->setAlignment(Qt::AlignCenter);
  p_limit_->hide();
  left->addWidget(p_limit_);
  left->addStretch();
  grid->addLayout(left, 1, 0);
  grid->addWidget(graph_, 1, 1);
  grid->setColumnStretch(0, 1);
  connect(graph_, &StatGraph::maximumChanged, this, [this] {
    if (!frame_.loading()) showGraph();
  });
  connect(graph_, &StatGraph::weekendDoubleClicked, this, [this] { switchWeekendColours(); });
  bindControls();
}

TabStat::~TabStat() = default;

QWidget* TabStat::buildGrid() {
  auto* box = new QWidget(this);
  box->setObjectName("p_stat");
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(1);
  const auto rows = sheetRows();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const RowHeader header = r < kRowHeaders.size() ? kRowHeaders[r] : RowHeader{"", ""};
    QLabel* head = panel(box, header.name, QString::fromUtf8(header.caption));
    if (r == 1) p_exp_ = head;
    grid->addWidget(head, static_cast<int>(r), 0);
    for (int column = 0; column < kSheetColumns; ++column) {
      QLabel* cell = panel(box, qs(cellName(rows[r], column)), "");
      cell->setFixedWidth(kCellWidth);
      cell->setAlignment(Qt::AlignCenter);
      grid->addWidget(cell, static_cast<int>(r), column + 1);
      cells_.push_back(cell);
    }
  }
  const int below = static_cast<int>(rows.size());
  for (int column = 0; column < kSheetColumns; ++column) {
    auto* caption = new QLabel(QString::fromUtf8(kColumnCaptions[column]), box);
    caption->setAlignment(Qt::AlignCenter);
    grid->addWidget(caption, below, column + 1);
  }
  return box;
}

QWidget* TabStat::buildBalance() {
  auto* box = new QWidget(this);
  box->setObjectName("p_acc");
  s_acc_ = label(box, "s_acc", "");
  e_acc_ = edit(box, "e_acc");
  e_acc_->setMaxLength(kBalanceLength);
  e_acc_->setFixedWidth(kBalanceWidth);
  e_acc_->installEventFilter(this);
  b_acc_ = button(box, "b_acc", "ИЗМЕНИТЬ");
  b_acc_->setFixedWidth(kOpenBalanceWidth - kBalanceWidth);
  auto* yes = button(box, "b_acc_y", "ДА");
  auto* no = button(box, "b_acc_n", "НЕТ");
  for (QPushButton* b : {yes, no}) b->setFixedWidth(kAnswerWidth);
  p_acc_ind_ = named(new QLabel(box), "p_acc_ind");
  p_acc_ind_->setFixedSize(10, 10);
  p_acc_ind_->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(s_acc_);
  row->addWidget(p_acc_ind_);
  row->addWidget(e_acc_);
  row->addWidget(b_acc_);
  row->addWidget(yes);
  row->addWidget(no);
  row->addStretch();
  connect(b_acc_, &QPushButton::clicked, this, [this] { openBalance(); });
  connect(yes, &QPushButton::clicked, this, [this] { storeBalance(); });
  connect(no, &QPushButton::clicked, this, [this] { restoreBalance(); });
  connect(e_acc_, &QLineEdit::textChanged, this, [this] { showBalanceColour(); });
  connect(e_acc_, &QLineEdit::textEdited, this, [this] { balanceEdited(); });
  closeBalance();
  return box;
}

QWidget* TabStat::buildActions() {
  auto* box = new QWidget(this);
  box->setObjectName("p_actions");
  auto* save = button(box, "b_save", "СОХРАНИТЬ");
  auto* print = button(box, "b_print", "РАСПЕЧАТАТЬ");
  auto* clear = button(box, "b_clear", "ОЧИСТИТЬ");
  b_undo_ = button(box, "b_undo", "ВЬIЧЕСТЬ  ПРЕДЬIДУЩЕЕ  СОЕДИНЕНИЕ");
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(save, 0, 0);
  grid->addWidget(print, 0, 1);
  grid->addWidget(clear, 0, 2);
  grid->addWidget(b_undo_, 1, 0, 1, 3);
  connect(save, &QPushButton::clicked, this, [this] { saveReport(); });
  connect(print, &QPushButton::clicked, this, [this] { printReport(); });
  connect(clear, &QPushButton::clicked, this, [this] { clearStatistics(); });
  connect(b_undo_, &QPushButton::clicked, this, [this] { undoLastConnection(); });
  return box;
}

std::string TabStat::entry() const {
  return frame_.currentEntry().toStdString();
}

Statistics TabStat::statistics() const {
  return Statistics(frame_.files(), frame_.host().numberFormat(), frame_.log());
}

void TabStat::prepareShow() {
  applyWeekendColours();
}

// The entry's part holds the graph's keys; the global part has nothing for this page.
void TabStat::loadedEntry(const SettingsValues& values) {
  CurrencyNames custom = defaultCustomCurrency();
  custom.sign = values.text(entry_keys::kCurrencyCustomAZ);
  custom.hundredthSign = values.text(entry_keys::kCurrencyCustomZZ);
  setCurrency(currencyNames(values.number(entry_keys::kCurrencyIndex), custom));
  std::vector<int> maxima;
  for (const GraphAxisRow& row : graphAxes())
    maxima.push_back(values.number(row.rememberedMaximum));
  graph_->setRemembered(std::move(maxima));
  showStatistics();
  showGraph();
}

void TabStat::setCurrency(const CurrencyNames& currency) {
  currency_ = currency;
  p_exp_->setText(QString::fromUtf8(kRowHeaders[1].caption) + qs(currency_.sign) + ")");
  s_acc_->setText(qs(" СЧЕТ   >>>   " + currency_.sign));
  graph_->setCurrency(currency_);
}

void TabStat::showCurrencyCaptions(const CurrencyCaptions& captions) {
  p_exp_->setText(qs(captions.expensesHeader));
  s_acc_->setText(qs(captions.accountLabel));
  graph_->setMoneyAxisCaptions(qs(captions.axisWhole), qs(captions.axisHundredths));
}

void TabStat::saving(SettingsValues& values) const {
  const auto axes = graphAxes();
  for (std::size_t i = 0; i < axes.size(); ++i)
    values.set(axes[i].rememberedMaximum, graph_->remembered()[i]);
}

void TabStat::showStatistics() {
  const StatisticsSheet sheet = readStatisticsSheet(
      frame_.files(), entry(), frame_.host().numberFormat(), frame_.host().pendingBalances());
  const auto rows = sheetRows();
  std::vector<QLabel*> volume;
  for (std::size_t i = 0; i < cells_.size() && i < sheet.cells.size(); ++i) {
    cells_[i]->setText(qs(sheet.cells[i].text));
    if (rows[i / kSheetColumns].format == CellFormat::Volume) volume.push_back(cells_[i]);
  }
  fitLines(volume);
  b_undo_->setEnabled(sheet.undoAvailable);
  e_acc_->setText(qs(sheet.accountText));
  const std::optional<LimitStanding> limit =
      readLimitStanding(frame_.files(), entry(), frame_.log().clock().now());
  p_limit_->setVisible(limit.has_value());
  if (limit) p_limit_->setText(qs(limitStandingText(*limit, frame_.host().numberFormat())));
  closeBalance();
  // The same clock as the budget page, so both show one estimate.
  // The budget page owns the estimate; it reads this month's money as this grid shows it.
  emit statisticsShown();
}

void TabStat::showGraph() {
  graph_->setPositions(readWeeklyPositions(frame_.files(), entry(),
                                           graphAxis(graph_->checkedAxis()), graph_->maximum()));
}

StatisticsSheet TabStat::shownSheet() const {
  StatisticsSheet sheet;
  for (const QLabel* cell : cells_)
    sheet.cells.push_back({cell->objectName().toStdString(), cell->text().toStdString()});
  sheet.accountText = e_acc_->text().toStdString();
  return sheet;
}

// The balance field.

void TabStat::openBalance() {
  e_acc_->setEnabled(true);
  b_acc_->hide();
  e_acc_->setFixedWidth(kOpenBalanceWidth);
  // Typing goes straight into the field, over the old balance.
  e_acc_->setFocus();
  e_acc_->selectAll();
}

void TabStat::closeBalance() {
  e_acc_->setEnabled(false);
  b_acc_->show();
  e_acc_->setFixedWidth(kBalanceWidth);
}

void TabStat::restoreBalance() {
  e_acc_->setText(
      qs(shownBalance(frame_.host(), frame_.files(), accountKey(entry(), kAccountIndividual))));
  closeBalance();
}

void TabStat::storeBalance() {
  try {
    IniFile accounts(frame_.files().accounts());
    writeKey(accounts, sections::balance(entry()), balance_keys::kAccount,
             e_acc_->text().toStdString());
  } catch (const IniWriteError&) {
    frame_.log().append(" Failed saving settings.", true);
    std::error_code ec;
    if (!std::filesystem::exists(frame_.files().noGo(), ec))
      message_box::inform(
          QString::fromUtf8("Возникла ошибка при попытке записать файл на диск.\n"
                            "Убедитесь, что запись в файл «TarvikA.Kfg» разрешена."));
    return;
  }
  closeBalance();
}

void TabStat::balanceEdited() {
  if (parseDecimal(e_acc_->text().toStdString())) return;
  frame_.host().balloon("Ошибка состояния счёта!",
                        "Введён запрещённый символ.\nДопускается ввод цифр (0-9)\nи разделителя "
                        "дробной части\n(как правило, это запятая)...");
  restoreBalance();
  openBalance();
}

void TabStat::showBalanceColour() {
  const std::optional<double> value = parseDecimal(e_acc_->text().toStdString());
  const QColor colour = !value || *value <= 0 ? Qt::red : *value < 1 ? Qt::yellow : Qt::green;
  QPalette p = p_acc_ind_->palette();
  p.setColor(QPalette::Window, colour);
  p_acc_ind_->setPalette(p);
}

bool TabStat::eventFilter(QObject* watched, QEvent* event) {
  if (watched == e_acc_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      storeBalance();
      return true;
    }
    // Esc answers НЕТ: the stored balance comes back, and the dialog stays.
    if (key == Qt::Key_Escape) {
      restoreBalance();
      return true;
    }
  }
  return SettingsTab::eventFilter(watched, event);
}

}  // namespace tarvik
