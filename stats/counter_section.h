#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "config/number_text.h"

namespace tarvik {

class EventLog;

// One entry's section of the statistics file. Reads tell a missing key (0) from one holding
// text that is not a number: such a key is logged and reported as nullopt, and the caller
// leaves it as it is instead of booking over it.
class CounterSection {
 public:
  CounterSection(IniEdit& file, std::string section, const NumberFormat& format, EventLog& log);

  std::optional<long long> readInt(std::string_view key);
  std::optional<double> readMoney(std::string_view key);
  // The stored text, "0" when missing (for text copies, which never lose anything).
  std::string readText(std::string_view key);

  void writeInt(std::string_view key, long long value);
  void writeMoney(std::string_view key, double value);
  void writeText(std::string_view key, std::string_view text);
  // Writes `value` truncated toward zero, held within the int range that readInt() accepts
  // (a hand-edited huge amount must not leave a key that can never be read again).
  void writeTruncated(std::string_view key, double value);

  // Adds `delta` to an integer key; a garbage key is left alone.
  void addInt(std::string_view key, long long delta);

 private:
  void reportGarbage(std::string_view key, std::string_view text);

  IniEdit& file_;
  std::string section_;
  const NumberFormat& format_;
  EventLog& log_;
};

}  // namespace tarvik
