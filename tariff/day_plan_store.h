#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "config/keys.h"
#include "tariff/tariff.h"

namespace tarvik {

class IniFile;
class IniEdit;

// The section whose tariff applies to `entry` (an entry name, "Default" for the fallback
// entry): the entry's own section when it has own settings ("Done" not 0), else "Default".
Section<Scope::Tariff> tariffSection(const IniFile& config, std::string_view entry);

// The stored day plan of `weekday` (0-6) in `section` (a section name as it stands), in
// stored order. Missing keys take their defaults ("Tar" + d missing: one free "Guest" period
// for the whole day); a count above 24 reads the first 24; a count below 0 reads none.
DayPlan readDayPlan(const IniFile& file, const Section<Scope::Tariff>& section, int weekday);

// Lookup on the stored plan, reading only the keys the answer depends on.
int lookupStored(const IniFile& config, std::string_view entry, int hour, int minute, int weekday,
                 CurrentTariff& current);

// Stores the plan: "Tar" + d = number of periods and the six keys of every period, hours and
// minutes as two digits, the cost as five digits, the name as given. Keys of periods beyond
// the new count stay in the file and are ignored. At most 24 periods are written. The file
// is replaced once; throws IniWriteError when that fails.
void writeDayPlan(IniFile& file, const Section<Scope::Tariff>& section, int weekday,
                  const DayPlan& plan);
// The same changes staged in an edit that the caller commits together with others.
void writeDayPlan(IniEdit& edit, const Section<Scope::Tariff>& section, int weekday,
                  const DayPlan& plan);

// The single-day tariff file: one day plan in section "Default" under weekday 0.
std::string dayFileName(int weekday);  // "tariff_day" + d + ".ini"
DayPlan readDayFile(const std::filesystem::path& file);
void writeDayFile(const std::filesystem::path& file, const DayPlan& plan);

}  // namespace tarvik
