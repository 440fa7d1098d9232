#pragma once

#include <string_view>

namespace tarvik {

// What the core reports happened besides what the status display shows. The Qt layer hands
// each report on to every window that listens (the settings dialog, the session bus); tests
// record them.
class ProgramEventSink {
 public:
  virtual ~ProgramEventSink() = default;
  // A connection of `entry` was booked from an account of `accountKind` (0: its own): its
  // statistics changed, and with a shared account the shared balances too.
  virtual void connectionBooked(std::string_view entry, int accountKind) = 0;
  // The remote-access service changed while running; its phonebook replaced the entries.
  virtual void serviceSwitched() = 0;
};

}  // namespace tarvik
