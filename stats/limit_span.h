#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/keys.h"
#include "config/number_text.h"
#include "config/program_files.h"
#include "platform/clock.h"
#include "platform/traffic.h"

namespace tarvik {

class IniFile;

// An entry's data limit as its keys set it.
struct LimitSettings {
  bool on = false;
  int size = entry_keys::kLimitSize.def;
  LimitUnit unit = entry_keys::kLimitUnit.def;
  LimitSpan span = entry_keys::kLimitSpan.def;
  LimitCount count = entry_keys::kLimitCount.def;
  bool warn = true;
  int share = entry_keys::kLimitShare.def;  // percent
  bool hangUp = false;

  std::uint64_t bytes() const;
};

// The limit of `entry`'s section. A hand-edited size or share outside what the dialog offers
// is held to its range; a choice outside its items takes the default.
LimitSettings readLimitSettings(const IniFile& config, std::string_view entry);

// One span of the calendar, cut as the statistics roll their counters over: a day, a week
// from Monday ("%W", so the days before a year's first Monday make a week of their own) or a
// month.
struct LimitPeriod {
  std::string id;       // "D08.12.2026", "W49.2026", "M12.2026"
  int startKey = 0;     // yyyymmdd of its first day
  int endKey = 0;       // yyyymmdd of the first day of the next span
  std::string endText;  // that day as "dd.mm"

  bool contains(const LocalTime& t) const {
    const int key = dateKey(t);
    return key >= startKey && key < endKey;
  }
  static int dateKey(const LocalTime& t) { return t.year * 10000 + t.month * 100 + t.day; }
};
LimitPeriod limitPeriodAt(LimitSpan span, const LocalTime& now);

// The span the statistics' current counters cover, from the rollover markers of the settings
// file in the same form as LimitPeriod::id; "" when they never rolled over (then the
// counters count as the current span's).
std::string statisticsPeriodId(LimitSpan span, const IniFile& config);

// The bytes of `volume` the limit counts.
std::uint64_t countedBytes(const TrafficBytes& volume, LimitCount count);

// What the span's counters of `entry` in the statistics file hold, counted as the limit counts.
std::uint64_t spanCounter(const IniFile& statistics, std::string_view entry, LimitSpan span,
                          LimitCount count);

// The once-per-span mark (see stats_keys::kLimitMarkSpan).
struct LimitMark {
  std::string period;
  std::uint64_t base = 0;
  std::uint64_t limitFor = 0;
  int warned = 0;  // 1 the share, 2 the limit

  bool operator==(const LimitMark&) const = default;
};
LimitMark readLimitMark(const IniFile& statistics, std::string_view entry);
// Throws IniWriteError.
void writeLimitMark(IniFile& statistics, std::string_view entry, const LimitMark& mark);

// The mark for `period`: the stored one while it is about that span, else a fresh one whose
// base is what the counters hold now (`counter`) plus the running connection's count when the
// statistics have not rolled over into the span yet.
LimitMark markForPeriod(const LimitMark& stored, const LimitPeriod& period, bool statisticsInPeriod,
                        std::uint64_t counter, std::uint64_t runningNow);
// The bytes booked in the span: the counters less the base when they still hold older spans.
std::uint64_t bookedInPeriod(std::uint64_t counter, bool statisticsInPeriod, const LimitMark& mark);

// Texts. "10 ГБ", "500 МБ".
std::string limitSizeText(const LimitSettings& settings);
// "в день", "в неделю", "в месяц".
std::string_view limitSpanWords(LimitSpan span);
// The tooltip's line: "осталось 1,2 ГБ из 10 ГБ до 01.01", or once it is used up
// "лимит 10 ГБ исчерпан до 01.01".
std::string limitLeftText(std::uint64_t used, const LimitSettings& settings,
                          const LimitPeriod& period, const NumberFormat& format);
// The share in whole percent, rounded down and held at 999.
int limitPercent(std::uint64_t used, std::uint64_t limit);

// How far the statistics have used up `entry`'s limit by `now` (the connection running now not
// counted); nullopt while the entry has no limit. Reads the files, writes nothing.
struct LimitStanding {
  LimitSettings settings;
  LimitPeriod period;
  std::uint64_t used = 0;
};
std::optional<LimitStanding> readLimitStanding(const ProgramFiles& files, std::string_view entry,
                                               const LocalTime& now);
// The statistics page's line: "ТРАФИК  В  МЕСЯЦ:  8,1 ГБ  ИЗ  10 ГБ  (81 %)  ДО  01.01".
std::string limitStandingText(const LimitStanding& standing, const NumberFormat& format);

}  // namespace tarvik
