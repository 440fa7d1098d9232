#pragma once

#include <QObject>
#include <memory>

#include "config/program_files.h"
#include "platform/event_log.h"
#include "platform/settings_window.h"
#include "settings/settings_host.h"

namespace tarvik {

class ProgramEvents;
class Tsettings;

// The settings dialog, made when it is opened: its frame's widgets, pages and fonts would
// otherwise weigh on every run in which nobody opens it, and on the rest of a run once it is
// closed (making it again takes a few tens of milliseconds). Until then it counts as hidden.
class LazySettingsDialog final : public SettingsWindow {
 public:
  LazySettingsDialog(const ProgramFiles& files, EventLog& log, SettingsHost& host);
  ~LazySettingsDialog() override;

  // What an open dialog shows afresh: a booking's statistics and shared balances, a new
  // phonebook. A dialog not made yet reads them all when it is opened.
  void listenTo(const ProgramEvents& events);

  // Makes the dialog when needed and shows it on `page`.
  void openOn(PageId page);
  Tsettings* made() const { return dialog_.get(); }

  // SettingsWindow
  bool shown() const override;
  void applyAndClose() override;
  void cancel() override;
  void showWindowPosition(int left, int top) override;

 private:
  // A closed dialog goes once control is back in the event loop that saw it close, so the
  // code that closed it (ОК, ОТМЕНА, midnight) finishes first; one shown again by then stays.
  class WhenClosed : public QObject {
   public:
    explicit WhenClosed(LazySettingsDialog& owner) : owner_(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    LazySettingsDialog& owner_;
  };

  void dropIfClosed();

  const ProgramFiles& files_;
  EventLog& log_;
  SettingsHost& host_;
  std::unique_ptr<Tsettings> dialog_;
  // Also the receiver of the events, so that none reaches a holder already gone.
  WhenClosed closed_{*this};
};

}  // namespace tarvik
