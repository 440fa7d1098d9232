#include "monitor/data_limit.h"

#include "config/ini_file.h"
#include "config/ini_write_error.h"
#include "platform/event_log.h"
#include "platform/user.h"
#include "platform/volume_text.h"

namespace tarvik {

namespace {

// A line that does not drop is asked again after this long, as the automatic hang-up does.
constexpr std::int64_t kHangUpRetryMs = 15'000;

std::string englishSize(const LimitSettings& s) {
  static constexpr const char* kSpans[] = {"day", "week", "month"};
  return std::to_string(s.size) + (s.unit == LimitUnit::Gigabytes ? " GB" : " MB") + " per " +
         kSpans[static_cast<int>(s.span)];
}

std::string limitWords(const LimitSettings& s) {
  return "(" + limitSizeText(s) + " " + std::string(limitSpanWords(s.span)) + ")";
}

}  // namespace

void DataLimit::start(const std::string& entry, const LocalTime& now) {
  entry_ = entry;
  settings_ = readLimitSettings(IniFile(env_.files.config()), entry);
  limitBytes_ = settings_.bytes();
  shareBytes_ = limitBytes_ / 100 * static_cast<std::uint64_t>(settings_.share) +
                limitBytes_ % 100 * static_cast<std::uint64_t>(settings_.share) / 100;
  runningBase_ = 0;
  lastHangUp_ = -1;
  period_ = {};
  if (settings_.on) settle(now, 0);
}

void DataLimit::reload(const std::string& entry, const LocalTime& now) {
  const std::string before = period_.id;
  const std::uint64_t runningBase = runningBase_;
  start(entry, now);
  // The same span goes on counting the connection from where it began counting it.
  if (settings_.on && period_.id == before) runningBase_ = runningBase;
}

void DataLimit::settle(const LocalTime& now, std::uint64_t runningNow) {
  period_ = limitPeriodAt(settings_.span, now);
  const IniFile statistics(env_.files.statistics());
  const std::string statsPeriod = statisticsPeriodId(settings_.span, IniFile(env_.files.config()));
  const bool statsInPeriod = statsPeriod.empty() || statsPeriod == period_.id;
  const std::uint64_t counter = spanCounter(statistics, entry_, settings_.span, settings_.count);
  const LimitMark stored = readLimitMark(statistics, entry_);
  mark_ = markForPeriod(stored, period_, statsInPeriod, counter, runningNow);
  if (mark_.period != stored.period) runningBase_ = statsInPeriod ? 0 : runningNow;
  // Warnings given for another limit do not hold for this one.
  if (mark_.limitFor != limitBytes_) {
    mark_.limitFor = limitBytes_;
    mark_.warned = 0;
  }
  booked_ = bookedInPeriod(counter, statsInPeriod, mark_);
  if (mark_ != stored) saveMark();
}

std::uint64_t DataLimit::used(const TrafficBytes& volume) const {
  const std::uint64_t running = countedBytes(volume, settings_.count);
  const std::uint64_t sum = booked_ + (running > runningBase_ ? running - runningBase_ : 0);
  return sum < booked_ ? UINT64_MAX : sum;
}

bool DataLimit::tick(const LocalTime& now, const TrafficBytes& volume) {
  if (!settings_.on) return false;
  bool spanChanged = false;
  if (!period_.contains(now)) {
    // The span ended while online: what the connection counted so far belongs to the old one.
    settle(now, countedBytes(volume, settings_.count));
    spanChanged = true;
  }
  const std::uint64_t nowUsed = used(volume);
  if (nowUsed >= limitBytes_) {
    const bool firstInSpan = mark_.warned < 2;
    if (firstInSpan) warnLimit();
    if (settings_.hangUp) {
      const std::int64_t ticks = env_.clock.ticks();
      if (lastHangUp_ < 0 || ticks - lastHangUp_ >= kHangUpRetryMs) {
        // A connection made after the span's warning still says in the log why it ends.
        if (lastHangUp_ < 0 && !firstInSpan)
          env_.log.append(" Data limit reached: " + englishSize(settings_) + ".", true);
        lastHangUp_ = ticks;
        env_.hooks.hangUp();
      }
    }
  } else if (settings_.warn && mark_.warned < 1 && nowUsed >= shareBytes_) {
    warnShare(nowUsed);
  }
  return spanChanged;
}

void DataLimit::warnShare(std::uint64_t nowUsed) {
  mark_.warned = 1;
  saveMark();
  const int percent = limitPercent(nowUsed, limitBytes_);
  env_.log.append(" Data limit warning: " + std::to_string(percent) + "% of " +
                      englishSize(settings_) + " used.",
                  true);
  env_.user.balloon(entry_,
                    "Внимание!\nИспользовано " + std::to_string(percent) + " % лимита трафика\n" +
                        limitWords(settings_) + ".\nОсталось " +
                        byteText(limitBytes_ - nowUsed, env_.format) + " до " + period_.endText +
                        ".",
                    false);
  env_.hooks.startWarningFlash();
}

void DataLimit::warnLimit() {
  mark_.warned = 2;
  saveMark();
  env_.log.append(" Data limit reached: " + englishSize(settings_) + ".", true);
  env_.user.balloon(entry_,
                    "Внимание!\nЛимит трафика исчерпан\n" + limitWords(settings_) + "." +
                        (settings_.hangUp ? "\nСоединение будет разорвано." : ""),
                    false);
  env_.hooks.startWarningFlash();
}

void DataLimit::saveMark() {
  try {
    IniFile statistics(env_.files.statistics());
    writeLimitMark(statistics, entry_, mark_);
    markFailed_ = false;
  } catch (const IniWriteError&) {
    // The warnings still come once while the program runs; only a restart may repeat them.
    if (!markFailed_) env_.log.append(" Failed saving the data limit mark.");
    markFailed_ = true;
  }
}

std::string DataLimit::hintLine(const TrafficBytes& volume) const {
  if (!settings_.on) return "";
  return limitLeftText(used(volume), settings_, period_, env_.format);
}

}  // namespace tarvik
