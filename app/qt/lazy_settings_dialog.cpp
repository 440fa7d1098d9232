#include "app/qt/lazy_settings_dialog.h"

#include <malloc.h>

#include <QEvent>

#include "app/qt/program_events.h"
#include "settings/qt/settings_dialog.h"

namespace tarvik {

LazySettingsDialog::LazySettingsDialog(const ProgramFiles& files, EventLog& log, SettingsHost& host)
    : files_(files), log_(log), host_(host) {}

LazySettingsDialog::~LazySettingsDialog() = default;

void LazySettingsDialog::listenTo(const ProgramEvents& events) {
  QObject::connect(&events, &ProgramEvents::connectionBooked, &closed_,
                   [this](const QString& entry, int accountKind) {
                     if (dialog_) dialog_->connectionBooked(entry, accountKind);
                   });
  QObject::connect(&events, &ProgramEvents::serviceSwitched, &closed_, [this] {
    if (dialog_) dialog_->phonebookChanged();
  });
}

void LazySettingsDialog::openOn(PageId page) {
  if (!dialog_) {
    dialog_ = std::make_unique<Tsettings>(files_, log_, host_);
    dialog_->installEventFilter(&closed_);
  }
  dialog_->showOnPage(page);
}

bool LazySettingsDialog::shown() const {
  return dialog_ && dialog_->isVisible();
}

void LazySettingsDialog::applyAndClose() {
  if (dialog_) dialog_->ok();
}

void LazySettingsDialog::cancel() {
  if (dialog_) dialog_->cancel();
}

void LazySettingsDialog::showWindowPosition(int left, int top) {
  if (dialog_) dialog_->copyWindowPosition(left, top);
}

bool LazySettingsDialog::WhenClosed::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Hide) {
    auto* later = new QObject;
    QObject::connect(later, &QObject::destroyed, this, [this] { owner_.dropIfClosed(); });
    later->deleteLater();
  }
  return false;
}

void LazySettingsDialog::dropIfClosed() {
  if (!dialog_ || dialog_->isVisible()) return;
  dialog_.reset();
  // The heap pages the closed dialog freed go back to the system instead of staying with the
  // program for the rest of its run.
  ::malloc_trim(0);
}

}  // namespace tarvik
