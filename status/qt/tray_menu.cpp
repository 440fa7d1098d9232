#include "status/qt/tray_menu.h"

#include <QActionGroup>

#include "config/keys.h"

namespace tarvik {
namespace {

void addSeparator(QMenu* menu, const char* name) {
  if (name) menu->addSeparator()->setObjectName(name);
}

QAction* addItem(QMenu* menu, const char* name, const char* caption,
                 const char* separatorBefore = nullptr) {
  addSeparator(menu, separatorBefore);
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  a->setObjectName(name);
  return a;
}

QMenu* addSubmenu(QMenu* menu, const char* name, const char* caption,
                  const char* separatorBefore = nullptr) {
  addSeparator(menu, separatorBefore);
  QMenu* sub = menu->addMenu(QString::fromUtf8(caption));
  sub->setObjectName(QString::fromLatin1(name) + "_menu");
  sub->menuAction()->setObjectName(name);
  return sub;
}

// Radio pairs are drawn as such; their handlers set both check marks themselves.
void makeRadioPair(QAction* first, QAction* second) {
  auto* group = new QActionGroup(first->parent());
  for (QAction* a : {first, second}) {
    a->setCheckable(true);
    group->addAction(a);
  }
}

}  // namespace

TrayMenu::TrayMenu(QWidget* parent)
    : QMenu(parent),
      m_status_show(addItem(this, "m_status_show", "Статус   [показать]")),
      m_status_clear(addItem(this, "m_status_clear", "Статус   [очистить]")),
      m_status_hide(addItem(this, "m_status_hide", "Статус   [скрыть]")),
      m_status_mode_menu(addSubmenu(this, "m_status_mode", "Статус   [режим]")),
      m_status_mode(m_status_mode_menu->menuAction()),
      m_compact(addItem(m_status_mode_menu, "m_compact", "Компактный")),
      m_full(addItem(m_status_mode_menu, "m_full", "Расширенный")),
      m_bounds(addItem(m_status_mode_menu, "m_bounds", "Прилипание к краям экрана", "m_sep_7")),
      m_entry_menu(addSubmenu(this, "m_entry", kDefaultEntry.data(), "m_sep_1")),
      m_entry(m_entry_menu->menuAction()),
      m_show_exp(addItem(m_entry_menu, "m_show_exp", "Показывать затраты")),
      m_show_acc(addItem(m_entry_menu, "m_show_acc", "Показывать счёт")),
      m_reset(addItem(m_entry_menu, "m_reset", "Начать отсчёт заново", "m_sep_5")),
      m_nohangup(addItem(m_entry_menu, "m_nohangup", "Не разрывать связь", "m_sep_6")),
      m_hangup(addItem(m_entry_menu, "m_hangup", "Отключиться")),
      m_sep_2(addSeparator()),
      m_help(addItem(this, "m_help", "Справка")),
      m_get(addItem(this, "m_get", "Справка…")),
      m_settings(addItem(this, "m_settings", "Настройки")),
      m_stat(addItem(this, "m_stat", "Статистика")),
      m_info(addItem(this, "m_info", "Информация")),
      m_enable(addItem(this, "m_enable", "Выключить", "m_sep_3")),
      m_reboot(addItem(this, "m_reboot", "Перезапуск", "m_sep_4")),
      m_exit(addItem(this, "m_exit", "Выход")) {
  setObjectName("TrayPopUp");
  m_sep_2->setObjectName("m_sep_2");
  makeRadioPair(m_compact, m_full);
  makeRadioPair(m_show_exp, m_show_acc);
  m_bounds->setCheckable(true);
  m_bounds->setChecked(true);
  connectCommands();
  connect(this, &QMenu::aboutToShow, this, [this] { updateHelpItems(); });

  setKeepLineVisible(false);
  setModeChecks(false);
  setAccountChecks(false);
  updateItems();
  updateHelpItems();
}

void TrayMenu::connectCommands() {
  auto bind = [this](QAction* item, void (TrayHost::*command)()) {
    connect(item, &QAction::triggered, this, [this, command] { run(command); });
  };
  bind(m_status_clear, &TrayHost::clearDisplay);
  bind(m_reset, &TrayHost::newCount);
  bind(m_hangup, &TrayHost::hangUp);
  bind(m_help, &TrayHost::openHelp);
  bind(m_get, &TrayHost::getHelp);
  bind(m_enable, &TrayHost::enableMonitoring);
  bind(m_reboot, &TrayHost::restart);
  connect(m_nohangup, &QAction::triggered, this, [this] {
    run(&TrayHost::keepLine);
    setKeepLineVisible(false);
  });
}

void TrayMenu::run(void (TrayHost::*command)()) {
  if (host_) (host_->*command)();
}

void TrayMenu::setHost(TrayHost* host) {
  host_ = host;
  updateItems();
  updateHelpItems();
}

void TrayMenu::setOffline(bool offline) {
  offline_ = offline;
  updateItems();
}

void TrayMenu::setRecoveryCommandsEnabled(bool enabled) {
  recoveryCommandsEnabled_ = enabled;
  updateItems();
}

void TrayMenu::updateItems() {
  const bool hosted = host_ != nullptr;
  m_status_clear->setEnabled(offline_ && hosted);
  m_enable->setEnabled(offline_ && recoveryCommandsEnabled_ && hosted);
  m_reboot->setEnabled(offline_ && recoveryCommandsEnabled_ && hosted);
  m_exit->setEnabled(recoveryCommandsEnabled_);
  m_entry->setVisible(!offline_);
  m_sep_2->setVisible(!offline_);
  for (QAction* item : {m_reset, m_nohangup, m_hangup, m_help, m_get, m_settings, m_stat, m_info})
    item->setEnabled(hosted);
}

void TrayMenu::updateHelpItems() {
  const bool helpThere = host_ && host_->helpAvailable();
  m_help->setVisible(helpThere);
  m_get->setVisible(!helpThere);
}

void TrayMenu::setMonitoring(bool monitoringOn) {
  m_enable->setText(monitoringOn ? "Выключить" : "Включить");
}

void TrayMenu::setModeChecks(bool full) {
  full_ = full;
  m_full->setChecked(full);
  m_compact->setChecked(!full);
}

void TrayMenu::setAccountChecks(bool accountShown) {
  accountShown_ = accountShown;
  m_show_acc->setChecked(accountShown);
  m_show_exp->setChecked(!accountShown);
}

void TrayMenu::setEntry(const QString& entry) {
  m_entry_menu->setTitle(entry);
}

}  // namespace tarvik
