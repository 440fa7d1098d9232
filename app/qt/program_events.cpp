#include "app/qt/program_events.h"

#include "status/qt/ttarvik.h"

namespace tarvik {

void ProgramEvents::relayShownFigures(const Ttarvik& window) {
  connect(&window, &Ttarvik::figuresShown, this, &ProgramEvents::figuresShown);
}

void ProgramEvents::Sink::connectionBooked(std::string_view entry, int accountKind) {
  emit events_.connectionBooked(
      QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())), accountKind);
}

void ProgramEvents::Sink::serviceSwitched() {
  emit events_.serviceSwitched();
}

}  // namespace tarvik
