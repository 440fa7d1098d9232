#include "status/qt/ttarvik.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "config/ini_file.h"
#include "config/keys.h"
#include "platform/qt/message_box.h"
#include "status/account_display.h"
#include "status/qt/recovery_dialog.h"
#include "status/qt/x11_hints.h"
#include "status/tray_hint.h"

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

constexpr int kOffScreen = 32000;

WindowAbilities desktopAbilities() {
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return {};
  return {false, false, false, false};
}

}  // namespace

Ttarvik::Ttarvik(ProgramFiles files, EventLog& log, TimerFactory& timers, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      files_(std::move(files)),
      log_(log),
      view_(*this, this),
      loader_(files_, log, *this),
      tray_(files_, timers),
      area_(log),
      abilities_(desktopAbilities()) {
  registerResources();
  // A native Wayland compositor keeps these to itself; said once, and the fades are skipped.
  if (const std::string refused = refusedAbilitiesLine(abilities_); !refused.empty())
    log_.append(refused);
  // A window manager that ignores the hints would add a title bar and push the window off the
  // screen; the window then places itself.
  const bool xwayland = throughXWayland();
  if (xwayland || !windowManagerHonoursHints()) setWindowFlag(Qt::X11BypassWindowManagerHint);
  setObjectName("tarvik");
  setWindowTitle("Tarvik");
  setAttribute(Qt::WA_ShowWithoutActivating);
  // The part of the outline the face does not cover shows the button-face colour. Through
  // XWayland the window is cut by transparency, so only the outline gets it (paintEvent); a
  // transparent window is also invisible, not black, until it is first drawn.
  cutByAlpha_ = xwayland;
  setAttribute(Qt::WA_TranslucentBackground, cutByAlpha_);
  setAutoFillBackground(!cutByAlpha_);
  setBackgroundRole(QPalette::Button);
  setMouseTracking(true);
  menu_ = new TrayMenu(this);
  connectMenu();
  behaviour_ = std::make_unique<WindowBehaviour>(timers, static_cast<WindowSurface&>(*this), files_,
                                                 log_, static_cast<User&>(*this));
  tray_.onClick = [this] { trayClicked(); };
  tray_.onDoubleClick = [this] { trayDoubleClicked(); };
  tray_.notifier().setAnchor(this);
  tray_.notifier().setRoute([this](bool serviceRuns) { return area_.balloonRoute(serviceRuns); });
  tray_.onContextMenu = [this] {
    raise();
    menu_->popup(QCursor::pos());
  };
  setTrayHint(kTrayHint);
  showStateCode("di");
}

Ttarvik::~Ttarvik() = default;

void Ttarvik::setTrayHint(std::string_view hint) {
  idleHint_ = hint;
  // A metered connection's lines stay until it ends.
  if (onlineLines_.empty()) tray_.setHint(idleHint_);
}

void Ttarvik::setOnlineHint(std::string_view lines) {
  // The tray keeps the program's name on top; the window's own tooltip is the lines alone
  // (its skin's parts have none, so hovering any of them shows it). Between connections the
  // tray shows its own hint again.
  onlineLines_ = lines;
  tray_.setHint(lines.empty() ? idleHint_ : std::string(kTrayHint) + "\n" + onlineLines_);
  // The window never takes the focus, and Qt shows tooltips of inactive windows only when asked.
  setAttribute(Qt::WA_AlwaysShowToolTips, true);
  setToolTip(QString::fromUtf8(lines.data(), static_cast<qsizetype>(lines.size())));
  emit figuresShown();
}

void Ttarvik::connectMenu() {
  auto on = [this](QAction* item, auto handler) {
    connect(item, &QAction::triggered, this, handler);
  };
  on(menu_->m_status_show, [this] { showStatusWindow(); });
  on(menu_->m_status_hide, [this] { hideStatusWindow(); });
  on(menu_->m_compact, [this] { switchMode(); });
  on(menu_->m_full, [this] { switchMode(); });
  on(menu_->m_bounds, [this] { menu_->m_bounds->setChecked(behaviour_->toggleSnapping()); });
  on(menu_->m_show_exp, [this] { toggleAccountDisplay(); });
  on(menu_->m_show_acc, [this] { toggleAccountDisplay(); });
  on(menu_->m_settings, [this] { openSettingsPage(PageId::Cfg); });
  on(menu_->m_stat, [this] { openSettingsPage(PageId::Stat); });
  on(menu_->m_info, [this] { openSettingsPage(PageId::Info); });
  on(menu_->m_exit, [this] {
    if (TrayHost* host = menu_->host())
      host->exit();
    else
      terminate();
  });
}

void Ttarvik::setOnlineMenu(bool connectionUp, bool authenticating) {
  menu_->setOffline(!connectionUp && !authenticating);
  if (!menu_->offline()) setField(DisplayField::Time, "00:00:00");
}

void Ttarvik::setAccountDisplayChecks(bool accountShown) {
  menu_->setAccountChecks(accountShown);
}

void Ttarvik::setCurrentEntry(std::string_view entry) {
  menu_->setEntry(qs(entry));
}

void Ttarvik::setRecoveryCommandsEnabled(bool enabled) {
  menu_->setRecoveryCommandsEnabled(enabled);
}

// ---- skin ----

bool Ttarvik::loadSkin() {
  const SkinLoadResult result = loader_.load(readSkinChoice(files_), view_.pictures());
  menu_->setModeChecks(result.ok ? result.layout.mode == SkinMode::Full
                                 : readSkinChoice(files_).full);
  if (result.ok) applySkin(result);
  return result.ok;
}

void Ttarvik::switchMode() {
  menu_->setModeChecks(!menu_->fullChecked());
  const SkinLoadResult result = loader_.switchMode(menu_->fullChecked(), view_.pictures());
  if (result.ok) {
    menu_->setModeChecks(result.layout.mode == SkinMode::Full);
    applySkin(result);
  }
  clearButtonMarks();
}

void Ttarvik::applySkin(const SkinLoadResult& result) {
  hideMarked_ = switchMarked_ = false;
  if (!skinApplied_) {
    skinApplied_ = true;
    // Once the start-up has run to its end, which may leave the window inert.
    QTimer::singleShot(0, this, [this] { keepReachable(); });
  }
  view_.apply(result.layout, result.header.doubleMode);
  behaviour_->place();
  menu_->setModeMenuVisible(result.header.doubleMode);
  showStateCode(stateCode_);
}

void Ttarvik::clearButtonMarks() {
  if (hideMarked_) view_.showButton(SkinButton::Hide, ButtonLook::Normal);
  if (switchMarked_) view_.showButton(SkinButton::Switch, ButtonLook::Normal);
  hideMarked_ = switchMarked_ = false;
}

// ---- display ----

void Ttarvik::showStateCode(std::string_view code) {
  if (!view_.showState(code)) return;
  stateCode_ = std::string(code);
  tray_.showState(code);
  emit figuresShown();
}

void Ttarvik::setField(DisplayField field, std::string_view text) {
  view_.setField(field, qs(text));
  emit figuresShown();
}

// ---- window ----

void Ttarvik::reloadWindowSettings() {
  const WindowSettings settings = readWindowSettings(IniFile(files_.config()));
  behaviour_->apply(settings);
  menu_->m_bounds->setChecked(settings.borders);
}

void Ttarvik::showStatusWindow() {
  // An inert start hands over to its successor unseen; the stored placement would show the
  // window for a moment before the program ends.
  if (inert_) return;
  const bool wasHidden = !isVisible();
  if (wasHidden) reloadWindowSettings();
  behaviour_->show();
  // Only once it is shown: the re-read may ask to show the window again.
  if (wasHidden && menu_->host()) menu_->host()->windowShown();
}

void Ttarvik::hideStatusWindow() {
  if (hideTimer_) hideTimer_->setEnabled(false);
  // Without a notification area nothing would bring the window back.
  if (!area_.windowMayHide()) return;
  behaviour_->hide();
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

void Ttarvik::setAlpha(int level) {
  setWindowOpacity(level / 255.0);
  // Each step of a fade must be seen when it is made, not when the next input event comes.
  flushToDisplay();
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

ScreenArea Ttarvik::availableArea() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect area = screen->availableGeometry();
  return {area.x(), area.y(), area.width(), area.height()};
}

std::optional<WindowPoint> Ttarvik::cursorPosition() const {
  if (!QGuiApplication::primaryScreen()) return std::nullopt;
  const QPoint p = QCursor::pos();
  return WindowPoint{p.x(), p.y()};
}

void Ttarvik::trayClicked() {
  showStatusWindow();
}

void Ttarvik::trayDoubleClicked() {
  openSettingsPage(PageId::Stat);
}

// ---- questions ----

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
  const bool trayWas = tray_.enabled();
  tray_.setEnabled(false);
  setEnabled(false);
  if (!allowRemind) showStateCode("xx");
  const RecoveryAnswer answer = RecoveryDialog::ask(qs(text), allowRemind);
  showStateCode("di");
  setEnabled(true);
  tray_.setEnabled(trayWas);
  return answer;
}

void Ttarvik::terminate() {
  tray_.icon().hide();
  hide();
  // Queued, so that it also ends a program whose event loop has not started yet.
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Ttarvik::makeInert() {
  tray_.setEnabled(false);
  inert_ = true;
  setEnabled(false);
  // Out of sight until the delayed start ends.
  hide();
  move(-kOffScreen, -kOffScreen);
}

}  // namespace tarvik
