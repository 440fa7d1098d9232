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

bool CloseOut::run(const CloseOutFigures& f) {
  const IniFile config(env_.files.config());
  const auto section = sections::entry(f.entry);
  const std::string signA = readKey(config, section, entry_keys::kCurrencyDisplayA);
  const std::string signZ = readKey(config, section, entry_keys::kCurrencyDisplayZ);
  const std::string hms = durationText(f.seconds);

  const std::string summary = "Соединение с интернетом завершено.\nВремя online: " + hms +
                              "\nФинансовые затраты (" + signZ +
                              "): " + sixText(f.cost, env_.format) + "\nСостояние счёта (" + signA +
                              "): " + sixText(f.balance, env_.format);

  BookedBalance booked;
  try {
    if (f.identity.empty()) {
      statistics_.bookConnection(f.entry, f.weekday, f.seconds, f.cost);
    } else {
      bookStatisticsOnce(env_.files, env_.format, env_.log, f.identity, f.entry, f.weekday,
                         f.seconds, f.cost);
    }
    booked = accounts_.bookBalance(f.entry, f.accountKind, f.balance);
  } catch (const IniWriteError&) {
    env_.user.balloon(f.entry, summary + "\nP.S.: произошла ошибка во время сохранения статистики.",
                      false);
    return false;
  }

  env_.log.append(" Time spent online: " + hms);
  env_.log.append(" Financial expences: " + formatGeneral(f.cost, env_.format) + " " + signZ);
  env_.log.append(" Account value: " + signA + " " + booked.entryAccountText);
  if (!f.isVirtual) env_.user.balloon(f.entry, summary, false);
  quickLog_.finishLine(
      bookedQuickLogTail(signA, f.seconds, f.cost, f.balance, f.entry, env_.format));
  return true;
}

}  // namespace tarvik
