#include "settings/qt/settings_dialog.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "config/keys.h"
#include "platform/qt/message_box.h"
#include "platform/qt/unattended.h"
#include "settings/help_contexts.h"
#include "settings/qt/binder.h"
#include "settings/qt/dialog_screen.h"
#include "settings/qt/pages/page_set.h"
#include "settings/qt/pages/tab_cfg.h"
#include "settings/qt/pages/tab_cur.h"
#include "settings/qt/pages/tab_info.h"
#include "settings/qt/pages/tab_msg.h"
#include "settings/qt/pages/tab_stat.h"
#include "settings/qt/pages/tab_tar.h"

namespace tarvik {

namespace {

struct PageButton {
  const char* name;
  const char* caption;
};
constexpr std::array<PageButton, kPageCount> kPageButtons{{
    {"b_tab_cfg", "ПАРАМЕТРЬI"},
    {"b_tab_app", "ПРОГРАММА"},
    {"b_tab_skin", "ИНТЕРФЕЙС"},
    {"b_tab_editor", "РЕДАКТОР"},
    {"b_tab_info", "ИНФОРМАЦИЯ"},
    {"b_tab_cur", "ВАЛЮТА"},
    {"b_tab_tar", "ТАРИФЬI"},
    {"b_tab_conn", "СОЕДИНЕНИЕ"},
    {"b_tab_msg", "СООБЩЕНИЯ"},
    {"b_tab_stat", "СТАТИСТИКА"},
}};

const char* const kSkinDraftQuestion =
    "Обнаружен временный файл, созданный редактором тем.\n"
    "Хотите ли Вы сохранить его для дальнейшей работы?";

QString qs(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

Tsettings::Tsettings(ProgramFiles files, EventLog& log, SettingsHost& host, QWidget* parent)
    : QDialog(parent), files_(std::move(files)), log_(log), host_(host) {
  setObjectName("Tsettings");
  // No system buttons: the dialog closes through its own buttons only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  // Ten pages of controls share 750 x 235 pixels: a small face and tight spacing keep every
  // caption whole. A screen too small for that at its scale factor gets all of it smaller.
  fit_ = fitToScreen();
  setFixedSize(fit_.width, fit_.height);
  QFont small = font();
  small.setPixelSize(fit_.fontPixels);
  setFont(small);
  buildFrame();
}

Tsettings::~Tsettings() = default;

void Tsettings::buildFrame() {
  auto* general = new QGroupBox(this);
  general->setObjectName("z_general");
  auto* individual = new QGroupBox(this);
  individual->setObjectName("z_individual");
  auto* generalColumn = new QVBoxLayout(general);
  auto* entryColumn = new QVBoxLayout(individual);
  generalColumn->setContentsMargins(1, 2, 1, 2);
  entryColumn->setContentsMargins(1, 2, 1, 2);

  o_entry_ = new QComboBox(individual);
  o_entry_->setObjectName("o_entry");
  o_entry_->setMaxVisibleItems(11);
  entryColumn->addWidget(o_entry_);
  connect(o_entry_, &QComboBox::currentIndexChanged, this, [this] {
    if (!loading_) entryChanged();
  });

  for (int i = 0; i < kPageCount; ++i) {
    auto* b = new QPushButton(qs(kPageButtons[i].caption), i < 5 ? general : individual);
    b->setObjectName(kPageButtons[i].name);
    (i < 5 ? generalColumn : entryColumn)->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] { selectPage(kAllPages[i]); });
    pageButtons_[i] = b;
  }

  // The columns are as wide as the widest caption in bold, the selected page's weight.
  int buttonWidth = 0;
  for (QPushButton* b : pageButtons_) {
    QFont bold = b->font();
    bold.setBold(true);
    b->setFont(bold);
    buttonWidth = std::max(buttonWidth, b->minimumSizeHint().width());
    bold.setBold(false);
    b->setFont(bold);
  }
  for (QPushButton* b : pageButtons_) b->setFixedWidth(buttonWidth);
  o_entry_->setFixedWidth(buttonWidth);

  stack_ = new QStackedWidget(this);
  stack_->setObjectName("p_pages");
  QWidget* pageArea = stack_;
  if (!(fit_ == kDialogDesign)) {
    // A screen too small for the dialog even with its smaller text gets the rest of a page
    // by scrolling: the controls are never squeezed below the size their captions need, and
    // the page buttons and ОК stay in sight.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("p_scroll");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(stack_);
    pageArea = scroll_;
  }
  b_ok_ = new QPushButton(qs("ОК"), this);
  b_ok_->setObjectName("b_ok");
  b_apply_ = new QPushButton(qs("ПРИМЕНИТЬ"), this);
  b_apply_->setObjectName("b_apply");
  b_cancel_ = new QPushButton(qs("ОТМЕНА"), this);
  b_cancel_->setObjectName("b_cancel");
  // Enter presses the button that has the focus, and ОК from anywhere else.
  b_ok_->setDefault(true);
  connect(b_ok_, &QPushButton::clicked, this, &Tsettings::ok);
  connect(b_apply_, &QPushButton::clicked, this, &Tsettings::apply);
  connect(b_cancel_, &QPushButton::clicked, this, &Tsettings::cancel);
  b_apply_->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(b_ok_);
  buttons->addWidget(b_apply_);
  buttons->addWidget(b_cancel_);
  auto* right = new QVBoxLayout;
  right->addWidget(pageArea, 1);
  right->addLayout(buttons);
  auto* frame = new QHBoxLayout(this);
  frame->setContentsMargins(2, 2, 2, 2);
  frame->setSpacing(2);
  general->setFixedWidth(general->minimumSizeHint().width());
  individual->setFixedWidth(individual->minimumSizeHint().width());
  frame->addWidget(general);
  frame->addWidget(individual);
  frame->addLayout(right, 1);
}

namespace {

// A control the user types into (its own Esc, if any, came first).
bool typingField(QWidget* w) {
  return qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
         qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w);
}

}  // namespace

void Tsettings::keyPressEvent(QKeyEvent* event) {
  // Esc reaches reject() through QDialog; F1 and Ctrl+S are the dialog's own, from whichever
  // control has the focus.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // Esc while typing only leaves the field; a second Esc closes the dialog.
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget()) {
      if (!typingField(w)) continue;
      focusWidget()->clearFocus();
      return;
    }
  }
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    help();
    return;
  }
  if (event->matches(QKeySequence::Save)) {
    apply();
    return;
  }
  QDialog::keyPressEvent(event);
}

void Tsettings::help() {
  buildPages();
  auto* info = static_cast<TabInfo*>(page(PageId::Info));
  if (info->helpFound()) {
    host_.openHelp(pageHelpContext(currentPage()));
    return;
  }
  // No manual: the page with the download links, which blink to be found.
  info->blinkDownloadLinks();
  selectPage(PageId::Info);
}

void Tsettings::buildPages() {
  if (pages_[0]) return;
  pages_ = makePages(*this);
  for (SettingsTab* p : pages_) {
    compact(p, fit_.titlePixels);
    stack_->addWidget(p);
    connect(p, &SettingsTab::changed, this, [this] { setDirty(true); });
  }
  // The rules that span pages: each page says what happened, the frame tells the other.
  // makePages puts each page at its id.
  auto* cfg = static_cast<TabCfg*>(page(PageId::Cfg));
  auto* cur = static_cast<TabCur*>(page(PageId::Cur));
  auto* tar = static_cast<TabTar*>(page(PageId::Tar));
  auto* msg = static_cast<TabMsg*>(page(PageId::Msg));
  auto* stat = static_cast<TabStat*>(page(PageId::Stat));
  connect(cfg, &TabCfg::balloonsSwitched, msg, &TabMsg::setBalloonDuplication);
  connect(stat, &TabStat::statisticsShown, msg, &TabMsg::showMonthEstimate);
  connect(cur, &TabCur::currencyCaptionsChanged, tar, &TabTar::showCurrencyCaptions);
  connect(cur, &TabCur::currencyCaptionsChanged, msg, &TabMsg::showCurrencyCaptions);
  connect(cur, &TabCur::currencyCaptionsChanged, stat, &TabStat::showCurrencyCaptions);
  growToPages();
}

void Tsettings::copyWindowPosition(int left, int top) {
  // Pages not built yet show the stored position when they are.
  if (auto* cfg = static_cast<TabCfg*>(page(PageId::Cfg))) cfg->showWindowPosition(left, top);
}

void Tsettings::showOnPage(PageId page) {
  buildPages();
  if (!isVisible()) {
    loadOnShow();
    placeOnWorkArea();
  }
  selectPage(page);
  show();
  raise();
  activateWindow();
  mapWidgetsUnattended(*this);
}

void Tsettings::selectPage(PageId page) {
  const int index = static_cast<int>(page);
  if (index < 0 || index >= kPageCount) return;
  buildPages();
  for (QPushButton* b : pageButtons_) {
    QFont f = b->font();
    f.setBold(false);
    b->setFont(f);
  }
  QPushButton* chosen = pageButtons_[index];
  QFont bold = chosen->font();
  bold.setBold(true);
  chosen->setFont(bold);
  // Takes the focus off the button so that a second click on it does nothing visible.
  chosen->setEnabled(false);
  chosen->setEnabled(true);
  stack_->setCurrentIndex(index);
  if (isVisible()) mapWidgetsUnattended(*this);
}

PageId Tsettings::currentPage() const {
  return kAllPages[std::max(0, stack_->currentIndex())];
}

bool Tsettings::dirty() const {
  return b_apply_->isEnabled();
}

void Tsettings::connectionBooked(const QString& entry, int accountKind) {
  if (!isVisible()) return;
  if (accountKind != kAccountIndividual) refreshSharedBalances();
  if (entry != currentEntry()) return;
  if (auto* stat = qobject_cast<TabStat*>(page(PageId::Stat))) {
    stat->showStatistics();
    stat->showGraph();
  }
}

void Tsettings::showSharedBalances(SettingsValues& values) const {
  if (values.has(balance_keys::kAccount))
    values.set(balance_keys::kAccount, shownBalance(host_, files_, accountKey({}, kAccountSingle)));
  for (int i = 0; i < 3; ++i) {
    const auto& group = balance_keys::kGroupAccount[i];
    if (values.has(group))
      values.set(group, shownBalance(host_, files_, accountKey({}, kAccountGroup1 + i)));
  }
}

void Tsettings::refreshSharedBalances() {
  SettingsValues balances;
  balances.set(balance_keys::kAccount, std::string());
  for (const auto& group : balance_keys::kGroupAccount) balances.set(group, std::string());
  showSharedBalances(balances);
  // Only the balance fields change: unsaved edits elsewhere stay unsaved.
  const bool wasDirty = dirty();
  {
    LoadingGuard guard(loading_);
    for (SettingsTab* p : pages_)
      if (p) binder::fill(p, pageKeys(p->id()), balances);
  }
  setDirty(wasDirty);
}

void Tsettings::setDirty(bool dirty) {
  b_apply_->setEnabled(dirty);
}

void Tsettings::setOkEnabled(bool enabled) {
  b_ok_->setEnabled(enabled);
}

QString Tsettings::currentEntry() const {
  return o_entry_->currentText();
}

void Tsettings::loadOnShow() {
  LoadingGuard guard(loading_);
  for (SettingsTab* p : pages_) p->prepareShow();
  fillEntryLists();
  const IniFile config(files_.config());
  const int remembered = readKey(config, sections::global(), global_keys::kEntry);
  o_entry_->setCurrentIndex(remembered >= 0 && remembered < o_entry_->count() ? remembered : 0);
  entryChanged();
  loadGlobal();
}

void Tsettings::fillEntryLists() {
  QStringList entries{QString::fromUtf8(kDefaultEntry)};
  for (const std::string& e : host_.phonebookEntries()) entries << QString::fromStdString(e);
  o_entry_->clear();
  o_entry_->addItems(entries);
  if (auto* source = findChild<QComboBox*>("o_entry_src")) {
    source->clear();
    source->addItems(entries);
    source->setCurrentIndex(0);
  }
}

void Tsettings::phonebookChanged() {
  // A hidden dialog lists the phonebook when it is shown.
  if (!isVisible()) return;
  const QString shown = currentEntry();
  {
    LoadingGuard guard(loading_);
    fillEntryLists();
    o_entry_->setCurrentIndex(std::max(0, o_entry_->findText(shown)));
  }
  if (currentEntry() != shown) entryChanged();
}

void Tsettings::entryChanged() {
  if (dirty()) {
    const QString question = qs("Настройки учётной записи «") + previousEntry_ +
                             qs("» не были сохранены.\nСохранить их сейчас?");
    if (message_box::askYesNo(question, false) == QMessageBox::Yes) {
      const SettingsValues values = controlValues();
      const std::string entry = previousEntry_.toStdString();
      save([&](IniEdit& config, IniEdit& accounts) {
        saveEntrySettings(values, entry, config, accounts);
      });
    }
  }
  const QString entry = currentEntry();
  setWindowTitle(o_entry_->currentIndex() <= 0
                     ? qs("Настройки для учётных записей по умолчанию...")
                     : qs("Настройки для учётной записи «") + entry + qs("»..."));
  loadEntry(entry);
  previousEntry_ = entry;
}

void Tsettings::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // The skin editor's working file, kept between shows only when the user says so.
  const std::filesystem::path draft = files_.skinDraft();
  std::error_code ec;
  if (!std::filesystem::exists(draft, ec)) return;
  if (message_box::askYesNo(qs(kSkinDraftQuestion), false) == QMessageBox::No)
    std::filesystem::remove(draft, ec);
}

}  // namespace tarvik
