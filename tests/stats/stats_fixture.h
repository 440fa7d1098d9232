#pragma once

#include <gtest/gtest.h>

#include <string>

#include "config/ini_file.h"
#include "platform/event_log.h"
#include "platform/virtual_clock.h"
#include "support/program_dir.h"

namespace tarvik::test {

// A program directory with an event log and a comma as the decimal separator.
class StatsFixture : public ::testing::Test {
 protected:
  std::string stat(std::string_view section, std::string_view key) const {
    return IniFile(dir.files().statistics()).readString(section, key, "<missing>");
  }
  std::string account(std::string_view section, std::string_view key) const {
    return IniFile(dir.files().accounts()).readString(section, key, "<missing>");
  }
  std::string logText() const { return ProgramDir::readText(dir.files().eventLog()); }

  ProgramDir dir;
  VirtualClock clock;
  EventLog log{dir.files().eventLog(), clock};
  NumberFormat comma{','};
};

}  // namespace tarvik::test
