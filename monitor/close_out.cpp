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

  logSummary(f, signA, signZ, booked);
  if (!f.isVirtual && !f.retry) env_.user.balloon(f.entry, summary, false);
  if (f.lineOpen) quickLog_.finishLine(quickLogTail(f));
  return true;
}

void CloseOut::logSummary(const CloseOutFigures& f, const std::string& signA,
                          const std::string& signZ, const BookedBalance& booked) {
  env_.log.append(" Time spent online: " + durationText(f.seconds));
  env_.log.append(" Financial expences: " + formatMoney(f.cost, env_.format) + " " + signZ);
  env_.log.append(" Account value: " + signA + " " + booked.entryAccountText);
}

bool CloseOut::runKept(const std::vector<CloseOutFigures>& bookings, std::string_view header) {
  std::vector<Statistics::Booking> counters;
  std::vector<Accounts::Booking> balances;
  for (const CloseOutFigures& f : bookings) {
    if (!f.statisticsBooked)
      counters.push_back({f.identity, f.entry, f.weekday, f.seconds, f.cost, f.volume});
    balances.push_back({f.entry, f.accountKind, f.balance});
  }
  std::vector<BookedBalance> booked;
  try {
    // A kill between the two leaves statistics that carry the last identity: the next attempt
    // then writes only the balances, which are absolute values.
    statistics_.bookConnections(counters);
    booked = accounts_.bookBalances(balances);
  } catch (const IniWriteError&) {
    return false;
  }
  const IniDocument config = IniFile(env_.files.config()).snapshot();
  for (std::size_t i = 0; i < bookings.size(); ++i) {
    const CloseOutFigures& f = bookings[i];
    const auto section = sections::entry(f.entry);
    const std::string signA = readKey(config, section, entry_keys::kCurrencyDisplayA);
    env_.log.append(std::string(header));
    logSummary(f, signA, readKey(config, section, entry_keys::kCurrencyDisplayZ), booked[i]);
    if (f.lineOpen)
      quickLog_.finishLine(
          bookedQuickLogTail(signA, f.seconds, f.cost, f.balance, f.entry, env_.format));
  }
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
