#include "status/qt/ttarvik.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPolygon>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/engine.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/qt/message_box.h"
#include "status/account_display.h"
#include "status/qt/recovery_dialog.h"
#include "status/qt/x11_hints.h"

// The pictures are compiled into the static Qt layer library; its resources must be registered
// by hand.
static void registerResources() {
  Q_INIT_RESOURCE(tarvik);
}

namespace tarvik {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor qColor(SkinColor c) {
  return QColor(c.red(), c.green(), c.blue());
}

// Skin font sizes are points at the 96 dots per inch the skins were drawn for; the window is
// never scaled by the screen's resolution.
int pixelSize(int points) {
  return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

Qt::Alignment alignment(TextAlign a) {
  switch (a) {
    case TextAlign::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case TextAlign::Center:
      return Qt::AlignHCenter | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

constexpr const char* kTextNames[5] = {"s_time_s", "s_money_s", "s_cur_s", "s_entry_s",
                                       "s_tariff_s"};
constexpr const char* kShadowNames[5] = {"s_time", "s_money", "s_cur", "s_entry", "s_tariff"};
constexpr int kBalloonTimeoutMs = 10000;
constexpr int kTitleLimit = 63;
constexpr int kTextLimit = 255;
constexpr int kHintLimit = 127;
constexpr int kOffScreen = 32000;

SkinBitmap indicatorFor(std::string_view code, bool* known) {
  *known = true;
  if (code == "di") return SkinBitmap::IndDi;
  if (code == "of") return SkinBitmap::IndOf;
  if (code == "au") return SkinBitmap::IndAu;
  if (code == "on") return SkinBitmap::IndOn;
  if (code == "xx") return SkinBitmap::IndXx;
  *known = false;
  return SkinBitmap::IndDi;
}

}  // namespace

Ttarvik::Ttarvik(ProgramFiles files, EventLog& log, TimerFactory& timers, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      files_(std::move(files)),
      log_(log),
      timers_(timers),
      loader_(files_, log, *this),
      notifier_(tray_) {
  registerResources();
  setObjectName("tarvik");
  setWindowTitle("Tarvik");
  setAttribute(Qt::WA_ShowWithoutActivating);
  // The part of the outline the face does not cover shows the button-face colour.
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  createChildren();
  createMenu();
  behaviour_ = std::make_unique<WindowBehaviour>(timers_, static_cast<WindowSurface&>(*this),
                                                 files_, log_, static_cast<User&>(*this));
  ownBalloonTimer_ = timers_.createTimer("t_baloon");
  setBalloonTimer(*ownBalloonTimer_);

  clickTimer_.setSingleShot(true);
  connect(&clickTimer_, &QTimer::timeout, this, [this] {
    if (!clickPending_) return;
    clickPending_ = false;
    trayClicked();
  });
  connect(&tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (!trayEnabled_) return;
    switch (r) {
      case QSystemTrayIcon::Trigger:
        if (!clickTimer_.isActive()) {
          clickPending_ = true;
          clickTimer_.start(QApplication::doubleClickInterval());
        }
        break;
      case QSystemTrayIcon::DoubleClick:
        clickTimer_.stop();
        clickPending_ = false;
        trayDoubleClicked();
        break;
      case QSystemTrayIcon::Context:
        raise();
        menu_->popup(QCursor::pos());
        break;
      default:
        break;
    }
  });
  setTrayHint(kTrayHint);
  showStateCode("di");
}

Ttarvik::~Ttarvik() {
  tray_.hide();
}

void Ttarvik::createChildren() {
  auto label = [this](const char* name) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    l->setAttribute(Qt::WA_TranslucentBackground);
    // The window paints the button-face colour; the texts must not take its text colour.
    l->setForegroundRole(QPalette::WindowText);
    l->setWordWrap(false);
    l->installEventFilter(this);
    l->setMouseTracking(true);
    return l;
  };
  i_face_ = label("i_face");
  i_face_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  i_ind_ = label("i_ind");
  // Shadow copies lie below the texts, in the order tariff, entry, currency, money, time.
  for (int i = 4; i >= 0; --i) shadows_[static_cast<std::size_t>(i)] = label(kShadowNames[i]);
  for (int i = 0; i < 5; ++i) texts_[static_cast<std::size_t>(i)] = label(kTextNames[i]);
  i_hide_ = label("i_hide");
  i_switch_ = label("i_switch");
  for (QLabel* l : texts_) l->setTextFormat(Qt::PlainText);
  for (QLabel* l : shadows_) l->setTextFormat(Qt::PlainText);
  setMouseTracking(true);
}

QAction* Ttarvik::addItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  return a;
}

void Ttarvik::runCommand(const std::function<void()>& command) {
  if (command) command();
}

void Ttarvik::createMenu() {
  menu_ = new QMenu(this);
  menu_->setObjectName("TrayPopUp");
  auto sep = [](QMenu* m, const char* name) { m->addSeparator()->setObjectName(name); };

  connect(addItem(menu_, "m_status_show", "Статус   [показать]"), &QAction::triggered, this,
          [this] { showStatusWindow(); });
  connect(addItem(menu_, "m_status_clear", "Статус   [очистить]"), &QAction::triggered, this,
          [this] { runCommand(commands_.clearDisplay); });
  connect(addItem(menu_, "m_status_hide", "Статус   [скрыть]"), &QAction::triggered, this,
          [this] { hideStatusWindow(); });
  modeMenu_ = menu_->addMenu("Статус   [режим]");
  modeMenu_->setObjectName("m_status_mode_menu");
  modeMenu_->menuAction()->setObjectName("m_status_mode");
  QAction* compact = addItem(modeMenu_, "m_compact", "Компактный");
  QAction* full = addItem(modeMenu_, "m_full", "Расширенный");
  // Radio pairs: drawn as such; the handlers set both check marks themselves.
  auto* modeGroup = new QActionGroup(modeMenu_);
  for (QAction* a : {compact, full}) {
    a->setCheckable(true);
    modeGroup->addAction(a);
    connect(a, &QAction::triggered, this, [this] { switchMode(); });
  }
  sep(modeMenu_, "m_sep_7");
  QAction* bounds = addItem(modeMenu_, "m_bounds", "Прилипание к краям экрана");
  bounds->setCheckable(true);
  bounds->setChecked(true);
  connect(bounds, &QAction::triggered, this,
          [this, bounds] { bounds->setChecked(behaviour_->toggleSnapping()); });
  sep(menu_, "m_sep_1");

  entryMenu_ = menu_->addMenu(qs(kDefaultEntry));
  entryMenu_->setObjectName("m_entry_menu");
  entryMenu_->menuAction()->setObjectName("m_entry");
  QAction* showExp = addItem(entryMenu_, "m_show_exp", "Показывать затраты");
  QAction* showAcc = addItem(entryMenu_, "m_show_acc", "Показывать счёт");
  auto* displayGroup = new QActionGroup(entryMenu_);
  for (QAction* a : {showExp, showAcc}) {
    a->setCheckable(true);
    displayGroup->addAction(a);
    connect(a, &QAction::triggered, this, [this] { toggleAccountDisplay(); });
  }
  sep(entryMenu_, "m_sep_5");
  connect(addItem(entryMenu_, "m_reset", "Начать отсчёт заново"), &QAction::triggered, this,
          [this] { runCommand(commands_.newCount); });
  sep(entryMenu_, "m_sep_6");
  connect(addItem(entryMenu_, "m_nohangup", "Не разрывать связь"), &QAction::triggered, this,
          [this] {
            runCommand(commands_.keepLine);
            setKeepLineMenu(false);
          });
  connect(addItem(entryMenu_, "m_hangup", "Отключиться"), &QAction::triggered, this,
          [this] { runCommand(commands_.hangUp); });
  sep(menu_, "m_sep_2");
  connect(addItem(menu_, "m_help", "Справка"), &QAction::triggered, this,
          [this] { runCommand(commands_.openHelp); });
  connect(addItem(menu_, "m_get", "Справка…"), &QAction::triggered, this,
          [this] { runCommand(commands_.getHelp); });
  auto openPage = [this](int page) {
    raise();
    if (commands_.openSettings) commands_.openSettings(page);
  };
  connect(addItem(menu_, "m_settings", "Настройки"), &QAction::triggered, this,
          [openPage] { openPage(kFirstPage); });
  connect(addItem(menu_, "m_stat", "Статистика"), &QAction::triggered, this,
          [openPage] { openPage(kStatisticsPage); });
  connect(addItem(menu_, "m_info", "Информация"), &QAction::triggered, this,
          [openPage] { openPage(kInformationPage); });
  sep(menu_, "m_sep_3");
  connect(addItem(menu_, "m_enable", "Выключить"), &QAction::triggered, this,
          [this] { runCommand(commands_.enableMonitoring); });
  sep(menu_, "m_sep_4");
  connect(addItem(menu_, "m_reboot", "Перезапуск"), &QAction::triggered, this,
          [this] { runCommand(commands_.restart); });
  connect(addItem(menu_, "m_exit", "Выход"), &QAction::triggered, this, [this] {
    if (commands_.exit)
      commands_.exit();
    else
      terminate();
  });
  connect(menu_, &QMenu::aboutToShow, this, [this] { updateHelpItems(); });

  setKeepLineMenu(false);
  applyModeChecks(false);
  setAccountDisplayChecks(false);
  updateOnlineItems();
  updateHelpItems();
}

void Ttarvik::setCommands(TrayCommands commands) {
  commands_ = std::move(commands);
  updateOnlineItems();
}

void Ttarvik::setBalloonTimer(Timer& t_baloon) {
  if (balloonTimer_) balloonTimer_->setEnabled(false);
  balloonTimer_ = &t_baloon;
  balloonTimer_->onFire([this] { removeBalloon(); });
}

void Ttarvik::showTrayIcon() {
  tray_.show();
}

// ---- menu state ----

void Ttarvik::updateOnlineItems() {
  auto item = [this](const char* name) { return menu_->findChild<QAction*>(name); };
  auto has = [](const auto& f) { return static_cast<bool>(f); };
  item("m_status_clear")->setEnabled(offline_ && has(commands_.clearDisplay));
  item("m_enable")
      ->setEnabled(offline_ && recoveryCommandsEnabled_ && has(commands_.enableMonitoring));
  item("m_reboot")->setEnabled(offline_ && recoveryCommandsEnabled_ && has(commands_.restart));
  item("m_exit")->setEnabled(recoveryCommandsEnabled_);
  entryMenu_->menuAction()->setVisible(!offline_);
  item("m_sep_2")->setVisible(!offline_);
  item("m_reset")->setEnabled(has(commands_.newCount));
  item("m_nohangup")->setEnabled(has(commands_.keepLine));
  item("m_hangup")->setEnabled(has(commands_.hangUp));
  item("m_help")->setEnabled(has(commands_.openHelp));
  item("m_get")->setEnabled(has(commands_.getHelp));
  for (const char* name : {"m_settings", "m_stat", "m_info"})
    item(name)->setEnabled(has(commands_.openSettings));
}

void Ttarvik::updateHelpItems() {
  std::error_code ec;
  const bool helpThere = std::filesystem::exists(files_.helpFile(), ec);
  menu_->findChild<QAction*>("m_help")->setVisible(helpThere);
  menu_->findChild<QAction*>("m_get")->setVisible(!helpThere);
}

void Ttarvik::applyModeChecks(bool full) {
  fullChecked_ = full;
  modeMenu_->findChild<QAction*>("m_full")->setChecked(full);
  modeMenu_->findChild<QAction*>("m_compact")->setChecked(!full);
}

void Ttarvik::setOnlineMenu(bool connectionUp, bool authenticating) {
  offline_ = !connectionUp && !authenticating;
  updateOnlineItems();
  if (!offline_) setField(DisplayField::Time, "00:00:00");
}

void Ttarvik::setMonitoringMenu(bool monitoringOn) {
  menu_->findChild<QAction*>("m_enable")->setText(monitoringOn ? "Выключить" : "Включить");
}

void Ttarvik::setAccountDisplayChecks(bool accountShown) {
  accountChecked_ = accountShown;
  entryMenu_->findChild<QAction*>("m_show_acc")->setChecked(accountShown);
  entryMenu_->findChild<QAction*>("m_show_exp")->setChecked(!accountShown);
}

void Ttarvik::setCurrentEntry(std::string_view entry) {
  entryMenu_->setTitle(qs(entry));
}

void Ttarvik::setKeepLineMenu(bool visible) {
  entryMenu_->findChild<QAction*>("m_nohangup")->setVisible(visible);
}

void Ttarvik::setRecoveryCommandsEnabled(bool enabled) {
  recoveryCommandsEnabled_ = enabled;
  updateOnlineItems();
}

// ---- skin ----

bool Ttarvik::loadSkin() {
  const SkinLoadResult result = loader_.load(readSkinChoice(files_), pictures_);
  applyModeChecks(result.ok ? result.layout.mode == SkinMode::Full : readSkinChoice(files_).full);
  if (result.ok) applySkin(result);
  return result.ok;
}

void Ttarvik::switchMode() {
  applyModeChecks(!fullChecked_);
  const SkinLoadResult result = loader_.switchMode(fullChecked_, pictures_);
  if (result.ok) {
    applyModeChecks(result.layout.mode == SkinMode::Full);
    applySkin(result);
  }
  clearButtonMarks();
}

void Ttarvik::applySkin(const SkinLoadResult& result) {
  const SkinLayout& layout = result.layout;
  const bool full = layout.mode == SkinMode::Full;
  setButtonPicture(i_hide_, SkinBitmap::HideOf);
  setButtonPicture(i_switch_, SkinBitmap::SwitchOf);

  // A window of no size cannot be put on screen.
  setFixedSize(std::max(1, layout.width), std::max(1, layout.height));
  if (!layout.pointsOutOfRange) {
    QPolygon polygon;
    for (const SkinPoint& p : layout.points) polygon << QPoint(p.x, p.y);
    setMask(QRegion(polygon, Qt::WindingFill));
    outlineSet_ = true;
  }

  for (std::size_t i = 0; i < 5; ++i) {
    const SkinText& t = layout.texts[i];
    QFont font(qs(t.font));
    font.setPixelSize(pixelSize(t.pointSize));
    font.setBold(t.bold);
    for (QLabel* l : {texts_[i], shadows_[i]}) {
      l->setFont(font);
      l->setAlignment(alignment(t.align));
      l->resize(t.w, t.h);
    }
    texts_[i]->move(t.x, t.y);
    shadows_[i]->move(t.x + 1, t.y + 1);
    QPalette textPalette = texts_[i]->palette();
    textPalette.setColor(QPalette::WindowText, qColor(t.color));
    texts_[i]->setPalette(textPalette);
    QPalette shadowPalette = shadows_[i]->palette();
    shadowPalette.setColor(QPalette::WindowText, qColor(layout.shadowColor));
    shadows_[i]->setPalette(shadowPalette);
  }
  const std::size_t entry = static_cast<std::size_t>(DisplayField::Entry);
  const std::size_t tariff = static_cast<std::size_t>(DisplayField::Tariff);
  texts_[entry]->setVisible(full);
  texts_[tariff]->setVisible(full);
  for (std::size_t i = 0; i < 5; ++i) {
    texts_[i]->setVisible(i == entry || i == tariff ? full : true);
    shadows_[i]->setVisible(layout.shadowUse && (i == entry || i == tariff ? full : true));
  }

  const SkinImage& face = layout.image(SkinImageId::Face);
  i_face_->setPixmap(pictures_.picture(SkinBitmap::Face));
  i_face_->setScaledContents(face.stretch);
  i_face_->setGeometry(face.x, face.y, face.w, face.h);
  const std::pair<QLabel*, SkinImageId> sized[] = {{i_ind_, SkinImageId::Indicator},
                                                   {i_hide_, SkinImageId::Hide},
                                                   {i_switch_, SkinImageId::Switch}};
  for (const auto& [l, id] : sized) {
    const SkinImage& img = layout.image(id);
    l->setScaledContents(img.stretch);
    l->move(img.x, img.y);
    if (img.stretch) l->resize(img.w, img.h);
  }
  i_switch_->setVisible(result.header.doubleMode);
  modeMenu_->menuAction()->setVisible(result.header.doubleMode);

  showStateCode(stateCode_);
  for (QLabel* l : {i_ind_, i_hide_, i_switch_}) {
    if (!l->hasScaledContents() && l->pixmap().size().isValid()) l->resize(l->pixmap().size());
  }
}

void Ttarvik::setButtonPicture(QLabel* button, SkinBitmap picture) {
  button->setPixmap(pictures_.picture(picture));
  if (!button->hasScaledContents()) button->resize(button->pixmap().size());
}

void Ttarvik::clearButtonMarks() {
  if (hideMarked_) setButtonPicture(i_hide_, SkinBitmap::HideOf);
  if (switchMarked_) setButtonPicture(i_switch_, SkinBitmap::SwitchOf);
  hideMarked_ = switchMarked_ = false;
}

// ---- display ----

void Ttarvik::showStateCode(std::string_view code) {
  bool known = false;
  const SkinBitmap picture = indicatorFor(code, &known);
  if (!known) return;
  stateCode_ = std::string(code);
  const int icon =
      static_cast<int>(readKey(IniFile(files_.config()), sections::global(), global_keys::kIcon));
  static const char* kFamilies[4] = {"dk", "lt", "in", "v3"};
  if (icon >= 0 && icon <= 3)
    tray_.setIcon(QIcon(QStringLiteral(":/tray/i_%1_%2").arg(kFamilies[icon]).arg(qs(code))));
  i_ind_->setPixmap(pictures_.picture(picture));
  if (!i_ind_->hasScaledContents() && !i_ind_->pixmap().isNull())
    i_ind_->resize(i_ind_->pixmap().size());
}

void Ttarvik::setField(DisplayField field, std::string_view text) {
  const auto i = static_cast<std::size_t>(field);
  texts_[i]->setText(qs(text));
  shadows_[i]->setText(texts_[i]->text());
}

// ---- window ----

void Ttarvik::reloadWindowSettings() {
  const IniFile config(files_.config());
  namespace g = global_keys;
  WindowSettings s;
  s.origin = readKey(config, sections::global(), g::kO);
  s.x = readKey(config, sections::global(), g::kX);
  s.y = readKey(config, sections::global(), g::kY);
  s.borders = readKey(config, sections::global(), g::kBorders) != 0;
  s.transparent = readKey(config, sections::global(), g::kTransparent) != 0;
  s.opacity = readKey(config, sections::global(), g::kOpacity);
  s.fade = readKey(config, sections::global(), g::kFade) != 0;
  s.speed = readKey(config, sections::global(), g::kSpeed);
  s.priority = readKey(config, sections::global(), g::kPriority) != 0;
  behaviour_->apply(s);
  menu_->findChild<QAction*>("m_bounds")->setChecked(s.borders);
}

void Ttarvik::showStatusWindow() {
  // An inert start hands over to its successor unseen; the stored placement would show the
  // window for a moment before the program ends.
  if (inert_) return;
  if (!isVisible()) reloadWindowSettings();
  behaviour_->show();
}

void Ttarvik::hideStatusWindow() {
  behaviour_->hide();
  if (hideTimer_) hideTimer_->setEnabled(false);
}

void Ttarvik::bringStatusWindowToFront() {
  raise();
}

bool Ttarvik::isShown() const {
  return isVisible();
}

void Ttarvik::showWindow() {
  if (!isVisible()) askToSkipTaskbar(this);
  show();
  raise();
}

void Ttarvik::hideWindow() {
  hide();
}

void Ttarvik::raiseWindow() {
  raise();
}

void Ttarvik::setAlpha(int level) {
  setWindowOpacity(level / 255.0);
}

void Ttarvik::moveWindow(WindowPoint topLeft) {
  move(topLeft.x, topLeft.y);
}

WindowPoint Ttarvik::windowPosition() const {
  return {x(), y()};
}

ScreenSize Ttarvik::screenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->geometry().width(), screen->geometry().height()};
}

std::optional<WindowPoint> Ttarvik::cursorPosition() const {
  if (!QGuiApplication::primaryScreen()) return std::nullopt;
  const QPoint p = QCursor::pos();
  return WindowPoint{p.x(), p.y()};
}

bool Ttarvik::settingsDialogShown() const {
  return commands_.settingsShown && commands_.settingsShown();
}

void Ttarvik::copyPositionToSettings(WindowPoint topLeft) {
  if (commands_.copyPositionToSettings) commands_.copyPositionToSettings(topLeft.x, topLeft.y);
}

// ---- mouse ----

bool Ttarvik::eventFilter(QObject* watched, QEvent* event) {
  const bool isButton = watched == i_hide_ || watched == i_switch_;
  auto* me = dynamic_cast<QMouseEvent*>(event);
  if (isButton) {
    auto* button = static_cast<QLabel*>(watched);
    const bool hide = button == i_hide_;
    bool& mark = hide ? hideMarked_ : switchMarked_;
    switch (event->type()) {
      case QEvent::MouseMove:
      case QEvent::Enter:
        if (!mark) {
          setButtonPicture(button, hide ? SkinBitmap::HideOn : SkinBitmap::SwitchOn);
          mark = true;
        }
        return false;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        setButtonPicture(button, hide ? SkinBitmap::HideDn : SkinBitmap::SwitchDn);
        mark = true;
        return true;
      case QEvent::MouseButtonRelease: {
        setButtonPicture(button, hide ? SkinBitmap::HideOf : SkinBitmap::SwitchOf);
        mark = false;
        if (me && me->button() == Qt::LeftButton &&
            button->rect().contains(me->position().toPoint())) {
          if (hide)
            hideStatusWindow();
          else
            switchMode();
        }
        return true;
      }
      default:
        return false;
    }
  }
  if (!me) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseMove:
      if (hideMarked_ || switchMarked_) clearButtonMarks();
      return false;
    case QEvent::MouseButtonPress:
      if (me->button() == Qt::LeftButton) {
        const QPoint grab = me->globalPosition().toPoint() - pos();
        behaviour_->dragStart({grab.x(), grab.y()});
        return true;
      }
      return false;
    case QEvent::MouseButtonRelease:
      if (me->button() == Qt::LeftButton) {
        behaviour_->dragEnd();
        return true;
      }
      return false;
    case QEvent::MouseButtonDblClick:
      if (me->button() == Qt::LeftButton) {
        windowDoubleClicked();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void Ttarvik::contextMenuEvent(QContextMenuEvent* event) {
  if (!trayEnabled_) return;
  menu_->popup(event->globalPos());
}

void Ttarvik::windowDoubleClicked() {
  const DoubleClickAction action =
      readKey(IniFile(files_.config()), sections::global(), global_keys::kAction);
  const bool active = commands_.connectionActive ? commands_.connectionActive() : !offline_;
  switch (action) {
    case DoubleClickAction::ShowStatistics:
      if (commands_.openSettings) {
        raise();
        commands_.openSettings(kStatisticsPage);
      }
      break;
    case DoubleClickAction::HideWindow:
      hideStatusWindow();
      break;
    case DoubleClickAction::SwitchMoney:
      toggleAccountDisplay();
      break;
    case DoubleClickAction::SwitchSkinMode:
      switchMode();
      break;
    case DoubleClickAction::HangUp:
      if (active) runCommand(commands_.hangUp);
      break;
    case DoubleClickAction::CancelAutoHangUp:
      if (active && entryMenu_->findChild<QAction*>("m_nohangup")->isVisible()) {
        runCommand(commands_.keepLine);
        setKeepLineMenu(false);
      }
      break;
    default:
      break;
  }
}

void Ttarvik::toggleAccountDisplay() {
  // Both items toggle, whichever is chosen.
  setAccountDisplayChecks(!accountChecked_);
  storeAccountDisplay(files_, entryMenu_->title().toStdString(), accountChecked_);
  runCommand(commands_.reloadEntrySettings);
}

void Ttarvik::trayClicked() {
  showStatusWindow();
}

void Ttarvik::trayDoubleClicked() {
  if (!commands_.openSettings) return;
  raise();
  commands_.openSettings(kStatisticsPage);
}

// ---- balloons and questions ----

void Ttarvik::balloon(std::string_view title, std::string_view text, bool optional) {
  const IniFile config(files_.config());
  if (readKey(config, sections::global(), global_keys::kHelpShow) == 0) return;
  if (optional && readKey(config, sections::global(), global_keys::kBaloon) == 0) return;
  if (!trayEnabled_) return;
  balloonTimer_->setEnabled(false);
  notifier_.show(qs(title).left(kTitleLimit), qs(text).left(kTextLimit), kBalloonTimeoutMs);
  balloonTimer_->setInterval(readKey(config, sections::global(), global_keys::kHelpTime) * 1000);
  balloonTimer_->setEnabled(true);
}

void Ttarvik::removeBalloon() {
  balloonTimer_->setEnabled(false);
  notifier_.remove();
}

void Ttarvik::message(std::string_view text) {
  message_box::inform(qs(text));
}

Answer Ttarvik::askYesNo(std::string_view text, bool defaultNo) {
  return message_box::askYesNo(qs(text), defaultNo) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer Ttarvik::askYesNoCancel(std::string_view text) {
  switch (message_box::askYesNoCancel(qs(text))) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

RecoveryAnswer Ttarvik::askRecovery(std::string_view text, bool allowRemind) {
  const bool trayWas = trayEnabled_;
  trayEnabled_ = false;
  setEnabled(false);
  if (!allowRemind) showStateCode("xx");
  const RecoveryAnswer answer = RecoveryDialog::ask(qs(text), allowRemind);
  showStateCode("di");
  setEnabled(true);
  trayEnabled_ = trayWas;
  return answer;
}

bool Ttarvik::settingsDialogOpen() {
  return settingsDialogShown();
}

void Ttarvik::applyAndCloseSettingsDialog() {
  if (onApplySettings) onApplySettings();
}

void Ttarvik::cancelSettingsDialog() {
  if (onCancelSettings) onCancelSettings();
}

void Ttarvik::terminate() {
  tray_.hide();
  hide();
  // Queued, so that it also ends a program whose event loop has not started yet.
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Ttarvik::setTrayHint(std::string_view hint) {
  tray_.setToolTip(qs(hint).left(kHintLimit));
}

void Ttarvik::makeInert() {
  trayEnabled_ = false;
  inert_ = true;
  setEnabled(false);
  // Out of sight until the delayed start ends.
  hide();
  move(-kOffScreen, -kOffScreen);
}

void Ttarvik::hideTrayIcon() {
  tray_.hide();
}

}  // namespace tarvik
