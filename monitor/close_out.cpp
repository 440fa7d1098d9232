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
  const ConnectionFigures& c = f.figures;
  const std::string signA = entryText(c.entry, entry_keys::kCurrencyDisplayA, env_.files);
  const std::string signZ = entryText(c.entry, entry_keys::kCurrencyDisplayZ, env_.files);
  const std::string hms = durationText(c.seconds);

  const std::string summary = "Соединение с интернетом завершено.\nВремя online: " + hms +
                              "\nФинансовые затраты (" + signZ +
                              "): " + sixText(c.cost, env_.format) + "\nСостояние счёта (" + signA +
                              "): " + sixText(c.balance, env_.format);

  BookedBalance booked;
  if (f.held || !book(f, booked)) {
    // A kept booking tried again stays quiet: its failure was shown when it first failed.
    if (!f.retry) {
      env_.user.balloon(
          c.entry, summary + "\nP.S.: произошла ошибка во время сохранения статистики.", false);
    }
    return false;
  }

  logSummary(f, signA, signZ, booked);
  if (!f.isVirtual && !f.retry) env_.user.balloon(c.entry, summary, false);
  if (f.lineOpen) quickLog_.finishLine(quickLogTail(f));
  return true;
}

void CloseOut::logSummary(const CloseOutFigures& f, const std::string& signA,
                          const std::string& signZ, const BookedBalance& booked) {
  env_.log.append(" Time spent online: " + durationText(f.figures.seconds));
  env_.log.append(" Financial expences: " + formatMoney(f.figures.cost, env_.format) + " " + signZ);
  env_.log.append(" Account value: " + signA + " " + booked.entryAccountText);
}

bool CloseOut::runKept(const std::vector<CloseOutFigures>& bookings, std::string_view header) {
  std::vector<Statistics::Booking> counters;
  std::vector<Accounts::Booking> balances;
  for (const CloseOutFigures& f : bookings) {
    const ConnectionFigures& c = f.figures;
    if (!f.statisticsBooked)
      counters.push_back({f.identity, c.entry, c.weekday, c.seconds, c.cost, c.volume});
    balances.push_back({c.entry, c.accountKind, c.balance});
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
    const ConnectionFigures& c = f.figures;
    const auto section = sections::entry(c.entry);
    const std::string signA = readKey(config, section, entry_keys::kCurrencyDisplayA);
    env_.log.append(std::string(header));
    logSummary(f, signA, readKey(config, section, entry_keys::kCurrencyDisplayZ), booked[i]);
    if (f.lineOpen)
      quickLog_.finishLine(
          bookedQuickLogTail(signA, c.seconds, c.cost, c.balance, c.entry, env_.format));
  }
  return true;
}

bool CloseOut::book(const CloseOutFigures& f, BookedBalance& booked) {
  const ConnectionFigures& c = f.figures;
  try {
    if (f.identity.empty()) {
      statistics_.bookConnection(c.entry, c.weekday, c.seconds, c.cost, c.volume);
    } else {
      bookStatisticsOnce(env_.files, env_.format, env_.log, f.identity, c.entry, c.weekday,
                         c.seconds, c.cost, c.volume);
    }
    booked = accounts_.bookBalance(c.entry, c.accountKind, c.balance);
    return true;
  } catch (const IniWriteError&) {
    return false;
  }
}

std::string CloseOut::quickLogTail(const CloseOutFigures& f) const {
  const ConnectionFigures& c = f.figures;
  return bookedQuickLogTail(entryText(c.entry, entry_keys::kCurrencyDisplayA, env_.files),
                            c.seconds, c.cost, c.balance, c.entry, env_.format);
}

}  // namespace tarvik
