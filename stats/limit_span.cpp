#include "stats/limit_span.h"

#include <algorithm>

#include "config/ini_file.h"
#include "platform/volume_text.h"
#include "stats/span_markers.h"

namespace tarvik {

namespace {

constexpr std::int64_t kDayMs = 86'400'000;

template <typename E>
E choiceOrDefault(const IniFile& config, const Section<Scope::Entry>& section,
                  const ChoiceKey<Scope::Entry, E>& key) {
  const E value = readKey(config, section, key);
  const int n = static_cast<int>(value);
  return n >= 0 && n < key.count() ? value : key.def;
}

LocalTime dayStart(int year, int month, int day) {
  return makeLocalTime(year, month, day);
}

LocalTime daysAfter(const LocalTime& day, int days) {
  return fromLocalMs(toLocalMs(dayStart(day.year, day.month, day.day)) + days * kDayMs);
}

std::string periodId(LimitSpan span, const std::string& marker, int year) {
  static constexpr char kLetters[] = {'D', 'W', 'M'};
  return kLetters[static_cast<int>(span)] + marker + "." + std::to_string(year);
}

// The span's name is the marker the statistics give it at a rollover on that day.
std::string periodIdAt(LimitSpan span, const LocalTime& t) {
  const SpanMarkers markers = spanMarkersOf(t);
  const std::string& marker = span == LimitSpan::Day    ? markers.day
                              : span == LimitSpan::Week ? markers.week
                                                        : markers.month;
  return periodId(span, marker, t.year);
}

}  // namespace

std::uint64_t LimitSettings::bytes() const {
  const std::uint64_t unitBytes = unit == LimitUnit::Gigabytes ? 1ULL << 30 : 1ULL << 20;
  return static_cast<std::uint64_t>(std::max(size, 1)) * unitBytes;
}

LimitSettings readLimitSettings(const IniFile& config, std::string_view entry) {
  const auto section = sections::entry(entry);
  LimitSettings s;
  s.on = readSwitch(config, section, entry_keys::kLimitUse);
  const Range size = entry_keys::kLimitSize.range;
  s.size = std::clamp(readKey(config, section, entry_keys::kLimitSize), size.min, size.max);
  s.unit = choiceOrDefault(config, section, entry_keys::kLimitUnit);
  s.span = choiceOrDefault(config, section, entry_keys::kLimitSpan);
  s.count = choiceOrDefault(config, section, entry_keys::kLimitCount);
  s.warn = readSwitch(config, section, entry_keys::kLimitWarn);
  const Range share = entry_keys::kLimitShare.range;
  s.share = std::clamp(readKey(config, section, entry_keys::kLimitShare), share.min, share.max);
  s.hangUp = readSwitch(config, section, entry_keys::kLimitHangUp);
  return s;
}

LimitPeriod limitPeriodAt(LimitSpan span, const LocalTime& now) {
  LimitPeriod p;
  LocalTime first = dayStart(now.year, now.month, now.day);
  LocalTime next = daysAfter(now, 1);
  switch (span) {
    case LimitSpan::Day:
      break;
    case LimitSpan::Week: {
      const int sinceMonday = (now.weekday + 6) % 7;
      first = daysAfter(now, -sinceMonday);
      next = daysAfter(now, 7 - sinceMonday);
      // The week number starts again with the year.
      if (first.year != now.year) first = dayStart(now.year, 1, 1);
      if (next.year != now.year) next = dayStart(now.year + 1, 1, 1);
      break;
    }
    case LimitSpan::Month:
      first = dayStart(now.year, now.month, 1);
      next = now.month == 12 ? dayStart(now.year + 1, 1, 1) : dayStart(now.year, now.month + 1, 1);
      break;
  }
  p.id = periodIdAt(span, now);
  p.startKey = LimitPeriod::dateKey(first);
  p.endKey = LimitPeriod::dateKey(next);
  p.endText = spanMarkersOf(next).day;
  return p;
}

std::string statisticsPeriodId(LimitSpan span, const IniFile& config) {
  const auto markers = sections::update();
  const int year = readKey(config, markers, update_keys::kYear);
  const update_keys::T& key = span == LimitSpan::Day    ? update_keys::kDay
                              : span == LimitSpan::Week ? update_keys::kWeek
                                                        : update_keys::kMonth;
  const std::string marker = readKey(config, markers, key);
  if (year < 0 || marker.empty()) return "";
  return periodId(span, marker, year);
}

std::uint64_t countedBytes(const TrafficBytes& volume, LimitCount count) {
  switch (count) {
    case LimitCount::Received:
      return volume.received;
    case LimitCount::Sent:
      return volume.sent;
    case LimitCount::Both:
      break;
  }
  const std::uint64_t sum = volume.received + volume.sent;
  return sum < volume.received ? UINT64_MAX : sum;
}

std::uint64_t spanCounter(const IniFile& statistics, std::string_view entry, LimitSpan span,
                          LimitCount count) {
  const auto section = sections::statistics(entry);
  const int i = static_cast<int>(span);  // day, week, month: the first three current counters
  const TrafficBytes volume{
      storedBytes(readKey(statistics, section, stats_keys::kCurrentReceived[i])),
      storedBytes(readKey(statistics, section, stats_keys::kCurrentSent[i]))};
  return countedBytes(volume, count);
}

LimitMark readLimitMark(const IniFile& statistics, std::string_view entry) {
  const auto section = sections::statistics(entry);
  LimitMark m;
  m.period = readKey(statistics, section, stats_keys::kLimitMarkSpan);
  m.base = storedBytes(readKey(statistics, section, stats_keys::kLimitMarkBase));
  m.limitFor = storedBytes(readKey(statistics, section, stats_keys::kLimitMarkFor));
  m.warned = std::clamp(readKey(statistics, section, stats_keys::kLimitMarkWarned), 0, 2);
  return m;
}

void writeLimitMark(IniFile& statistics, std::string_view entry, const LimitMark& mark) {
  IniEdit edit(statistics);
  const auto section = sections::statistics(entry);
  writeKey(edit, section, stats_keys::kLimitMarkSpan, mark.period);
  writeKey(edit, section, stats_keys::kLimitMarkBase, std::to_string(mark.base));
  writeKey(edit, section, stats_keys::kLimitMarkFor, std::to_string(mark.limitFor));
  writeKey(edit, section, stats_keys::kLimitMarkWarned, mark.warned);
  edit.commit();
}

LimitMark markForPeriod(const LimitMark& stored, const LimitPeriod& period, bool statisticsInPeriod,
                        std::uint64_t counter, std::uint64_t runningNow) {
  if (stored.period == period.id) return stored;
  LimitMark fresh;
  fresh.period = period.id;
  if (!statisticsInPeriod) fresh.base = counter + runningNow;
  return fresh;
}

std::uint64_t bookedInPeriod(std::uint64_t counter, bool statisticsInPeriod,
                             const LimitMark& mark) {
  if (statisticsInPeriod) return counter;
  // Cleared or undone statistics may hold less than the base.
  return counter > mark.base ? counter - mark.base : 0;
}

std::string limitSizeText(const LimitSettings& settings) {
  return std::to_string(settings.size) + (settings.unit == LimitUnit::Gigabytes ? " ГБ" : " МБ");
}

std::string_view limitSpanWords(LimitSpan span) {
  switch (span) {
    case LimitSpan::Day:
      return "в день";
    case LimitSpan::Week:
      return "в неделю";
    case LimitSpan::Month:
      break;
  }
  return "в месяц";
}

std::string limitLeftText(std::uint64_t used, const LimitSettings& settings,
                          const LimitPeriod& period, const NumberFormat& format) {
  const std::uint64_t limit = settings.bytes();
  if (used >= limit) return "лимит " + limitSizeText(settings) + " исчерпан до " + period.endText;
  return "осталось " + byteText(limit - used, format) + " из " + limitSizeText(settings) + " до " +
         period.endText;
}

std::optional<LimitStanding> readLimitStanding(const ProgramFiles& files, std::string_view entry,
                                               const LocalTime& now) {
  const IniFile config(files.config());
  LimitStanding s;
  s.settings = readLimitSettings(config, entry);
  if (!s.settings.on) return std::nullopt;
  s.period = limitPeriodAt(s.settings.span, now);
  const IniFile statistics(files.statistics());
  const std::string statsPeriod = statisticsPeriodId(s.settings.span, config);
  const bool inPeriod = statsPeriod.empty() || statsPeriod == s.period.id;
  const std::uint64_t counter = spanCounter(statistics, entry, s.settings.span, s.settings.count);
  const LimitMark mark =
      markForPeriod(readLimitMark(statistics, entry), s.period, inPeriod, counter, 0);
  s.used = bookedInPeriod(counter, inPeriod, mark);
  return s;
}

std::string limitStandingText(const LimitStanding& standing, const NumberFormat& format) {
  static constexpr const char* kSpans[] = {"В  ДЕНЬ", "В  НЕДЕЛЮ", "В  МЕСЯЦ"};
  const LimitSettings& s = standing.settings;
  return std::string("ТРАФИК  ") + kSpans[static_cast<int>(s.span)] + ":  " +
         byteText(standing.used, format) + "  ИЗ  " + limitSizeText(s) + "  (" +
         std::to_string(limitPercent(standing.used, s.bytes())) + " %)  ДО  " +
         standing.period.endText;
}

int limitPercent(std::uint64_t used, std::uint64_t limit) {
  if (limit == 0) return 999;
  const long double share = static_cast<long double>(used) * 100 / limit;
  return share >= 999 ? 999 : static_cast<int>(share);
}

}  // namespace tarvik
