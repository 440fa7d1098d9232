#include "monitor/close_out.h"

#include "config/ini_file.h"
#include "config/keys.h"
#include "config/number_text.h"
#include "monitor/booking_identity.h"
#include "monitor/quick_log.h"
#include "platform/event_log.h"
#include "platform/time_text.h"
#include "platform/user.h"
#include "stats/accounts.h"
#include "stats/statistics.h"

namespace tarvik {

CloseOut::CloseOut(const MonitorEnv& env, Statistics& statistics, Accounts& accounts,
                   QuickLog& quickLog)
    : env_(env), statistics_(statistics), accounts_(accounts), quickLog_(quickLog) {}

namespace {

std::string entryText(const std::string& entry, const TextKey<Scope::Entry>& key,
                      const ProgramFiles& files) {
  return readKey(IniFile(files.config()), sections::entry(entry), key);
}

}  // namespace

bool CloseOut::run(const CloseOutFigures& f) {
  const std::string signA = entryText(f.entry, entry_keys::kCurrencyDisplayA, env_.files);
  const std::string signZ = entryText(f.entry, entry_keys::kCurrencyDisplayZ, env_.files);
  const std::string hms = durationText(f.seconds);

  const std::string summary = "Соединение с интернетом завершено.\nВремя online: " + hms +
                              "\nФинансовые затраты (" + signZ +
                              "): " + sixText(f.cost, env_.format) + "\nСостояние счёта (" + signA +
                              "): " + sixText(f.balance, env_.format);

  BookedBalance booked;
  if (f.held || !book(f, booked)) {
    // A kept booking tried again stays quiet: its failure was shown when it first failed.
    if (!f.retry) {
      env_.user.balloon(
          f.entry, summary + "\nP.S.: произошла ошибка во время сохранения статистики.", false);
    }
    return false;
  }

  env_.log.append(" Time spent online: " + hms);
  env_.log.append(" Financial expences: " + formatGeneral(f.cost, env_.format) + " " + signZ);
  env_.log.append(" Account value: " + signA + " " + booked.entryAccountText);
  if (!f.isVirtual && !f.retry) env_.user.balloon(f.entry, summary, false);
  if (f.lineOpen) quickLog_.finishLine(quickLogTail(f));
  return true;
}

bool CloseOut::book(const CloseOutFigures& f, BookedBalance& booked) {
  try {
    if (f.identity.empty()) {
      statistics_.bookConnection(f.entry, f.weekday, f.seconds, f.cost, f.volume);
    } else {
      bookStatisticsOnce(env_.files, env_.format, env_.log, f.identity, f.entry, f.weekday,
                         f.seconds, f.cost, f.volume);
    }
    booked = accounts_.bookBalance(f.entry, f.accountKind, f.balance);
    return true;
  } catch (const IniWriteError&) {
    return false;
  }
}

std::string CloseOut::quickLogTail(const CloseOutFigures& f) const {
  return bookedQuickLogTail(entryText(f.entry, entry_keys::kCurrencyDisplayA, env_.files),
                            f.seconds, f.cost, f.balance, f.entry, env_.format);
}

}  // namespace tarvik
