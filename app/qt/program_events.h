#pragma once

#include <QObject>
#include <QString>
#include <string_view>

#include "platform/program_events.h"

namespace tarvik {

class Ttarvik;

// The one source of program events: what the core reports (a booking, a switch of the
// remote-access service) and what the status window shows, handed on as signals to every window
// that listens (the settings dialog, the session bus). Made once where the program is assembled.
class ProgramEvents final : public QObject {
  Q_OBJECT

 public:
  ProgramEvents() = default;

  // Where the core reports.
  ProgramEventSink& sink() { return sink_; }
  // The status window's state, fields and online hint, as figuresShown.
  void relayShownFigures(const Ttarvik& window);

 signals:
  // A connection of `entry` was booked from an account of `accountKind` (0: its own).
  void connectionBooked(const QString& entry, int accountKind);
  // The remote-access service changed; its phonebook replaced the entries.
  void serviceSwitched();
  // The status window showed a new state, field or online hint.
  void figuresShown();

 private:
  class Sink final : public ProgramEventSink {
   public:
    explicit Sink(ProgramEvents& events) : events_(events) {}
    void connectionBooked(std::string_view entry, int accountKind) override;
    void serviceSwitched() override;

   private:
    ProgramEvents& events_;
  };

  Sink sink_{*this};
};

}  // namespace tarvik
