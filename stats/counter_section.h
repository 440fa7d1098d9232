#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "config/keys.h"
#include "config/number_text.h"

namespace tarvik {

class EventLog;

// One entry's section of the statistics file. Reads tell a missing key (0) from one holding
// text that is not a number: such a key is logged and reported as nullopt, and the caller
// leaves it as it is instead of booking over it.
class CounterSection {
 public:
  using Key = TextKey<Scope::Statistics>;

  CounterSection(IniEdit& file, Section<Scope::Statistics> section, const NumberFormat& format,
                 EventLog& log);

  // Integers past the int range read as the 64-bit values they are.
  std::optional<long long> readInt(const Key& key);
  std::optional<double> readMoney(const Key& key);
  // The stored text, "0" when missing (for text copies, which never lose anything).
  std::string readText(const Key& key);

  void writeInt(const Key& key, long long value);
  // A value that is not finite is not written (logged instead).
  void writeMoney(const Key& key, double value);
  void writeText(const Key& key, std::string_view text);
  // Writes `value` truncated toward zero, held within the int range (the weekly graph reads
  // these keys as ints).
  void writeTruncated(const Key& key, double value);

  // Adds `delta` to an integer key; a garbage key is left alone.
  void addInt(const Key& key, long long delta);

 private:
  void reportGarbage(const Key& key, std::string_view text);

  IniEdit& file_;
  Section<Scope::Statistics> section_;
  const NumberFormat& format_;
  EventLog& log_;
};

}  // namespace tarvik
