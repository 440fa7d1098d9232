#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"
#include "config/keys.h"
#include "monitor/monitor_env.h"

namespace tarvik {

class CloseOut;
class Meter;
class Probe;
class QuickLog;

// Turns the once-a-second probe result into the connection's life cycle (offline,
// authenticating, online and back), decides which settings entry a live connection uses,
// starts the meter and closes the connection out when it ends.
class ConnectionStateMachine {
 public:
  // `stateCode` and `phonebookEntries` belong to the status window, which shows and lists
  // them; the machine keeps them up to date and reads them.
  ConnectionStateMachine(const MonitorEnv& env, Probe& probe, Meter& meter, CloseOut& closeOut,
                         QuickLog& quickLog, std::string& stateCode,
                         const std::vector<std::string>& phonebookEntries);

  // One t_online event.
  void poll();

  void authenticationStart(const std::string& entry);
  void connected(const std::string& entry, bool isVirtual);
  void disconnect(const std::string& entry, bool isVirtual);
  // Logs `reasonLine` with a stamp and splits the connection: the part so far is booked as
  // a connection of its own and metering starts afresh.
  void virtualReconnect(std::string_view reasonLine);
  // "Начать отсчёт заново" (m_reset): a virtual reconnect while online.
  void userReset();
  // The meter found another tariff period in force: the part so far is booked and metering
  // starts afresh under the new tariff.
  void split();

  // Sets and shows the state code (the enable/disable command switches "di" and "of").
  void setStateCode(std::string code);
  const std::string& stateCode() const { return stateCode_; }
  const std::string& currentEntry() const { return currentEntry_; }

 private:
  void connectionStartWork(const std::string& entry);
  // Writes the " Device in use: " line of the current connection.
  void logDevice();
  Section<Scope::Entry> section(const std::string& entry) const;

  const MonitorEnv& env_;
  Probe& probe_;
  Meter& meter_;
  CloseOut& closeOut_;
  QuickLog& quickLog_;
  IniFile config_;

  std::string& stateCode_;  // starts as "di"
  const std::vector<std::string>& entries_;
  std::string currentEntry_{kDefaultEntry};
  bool connectedFlag_ = false;
  bool authMetering_ = false;
  bool startDone_ = false;
  bool previousProbe_ = false;
  // The device line of an authenticating call that waits for its traffic interface.
  bool devicePending_ = false;
  std::string pendingDevice_;
};

}  // namespace tarvik
