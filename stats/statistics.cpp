#include "stats/statistics.h"

#include <array>
#include <climits>
#include <cmath>

#include "config/ini_file.h"
#include "config/keys.h"
#include "stats/counter_section.h"

namespace tarvik {

namespace {

// Byte counts go past the 63 bits of the counters only in theory; they stop at the top.
long long asCount(std::uint64_t bytes) {
  return bytes > static_cast<std::uint64_t>(LLONG_MAX) ? LLONG_MAX : static_cast<long long>(bytes);
}

// The volume goes beside the Part's keys, after them, so files read by older versions keep
// their layout and a reader that knows nothing of volume is not disturbed.
void addVolume(CounterSection& s, int weekday, const TrafficBytes& volume) {
  namespace k = stats_keys;
  const long long rx = asCount(volume.received);
  const long long tx = asCount(volume.sent);
  s.writeText(k::kRxPC, s.readText(k::kRxTC));
  s.writeInt(k::kRxTC, rx);
  s.writeText(k::kTxPC, s.readText(k::kTxTC));
  s.writeInt(k::kTxTC, tx);
  for (const auto& key : k::kCurrentReceived) s.addInt(key, rx);
  for (const auto& key : k::kCurrentSent) s.addInt(key, tx);
  if (weekday >= 0 && weekday <= 6) {
    s.addInt(k::weeklyReceived(weekday), rx);
    s.addInt(k::weeklySent(weekday), tx);
  }
  s.writeInt(k::kUndoRx, rx);
  s.writeInt(k::kUndoTx, tx);
}

}  // namespace

Statistics::Statistics(ProgramFiles files, NumberFormat format, EventLog& log)
    : files_(std::move(files)), format_(format), log_(log) {}

void Statistics::bookConnection(std::string_view entry, int weekday, int seconds, float cost,
                                const TrafficBytes& volume) {
  IniEdit edit(IniFile(files_.statistics()));
  addConnection(edit, entry, weekday, seconds, cost, volume);
  edit.commit();
}

bool Statistics::bookConnectionOnce(std::string_view identity, std::string_view entry, int weekday,
                                    int seconds, float cost, const TrafficBytes& volume) {
  if (lastBookedIdentity() == identity) return false;
  IniEdit edit(IniFile(files_.statistics()));
  addConnection(edit, entry, weekday, seconds, cost, volume);
  writeKey(edit, sections::sharedStatistics(), stats_keys::kBooked, identity);
  edit.commit();
  return true;
}

void Statistics::bookConnections(const std::vector<Booking>& bookings) {
  if (bookings.empty()) return;
  IniEdit edit(IniFile(files_.statistics()));
  edit.pinReads();
  for (const Booking& b : bookings)
    addConnection(edit, b.entry, b.weekday, b.seconds, b.cost, b.volume);
  writeKey(edit, sections::sharedStatistics(), stats_keys::kBooked, bookings.back().identity);
  edit.commit();
}

std::string Statistics::lastBookedIdentity() const {
  return readKey(IniFile(files_.statistics()), sections::sharedStatistics(), stats_keys::kBooked);
}

void Statistics::addConnection(IniEdit& edit, std::string_view entry, int weekday, int seconds,
                               float cost, const TrafficBytes& volume) {
  CounterSection s(edit, sections::statistics(entry), format_, log_);
  const double costValue = cost;  // widened exactly, so the texts show the float as it is

  for (const auto& key : stats_keys::kCurrentCounts) s.addInt(key, 1);

  s.writeText(stats_keys::kTimePC, s.readText(stats_keys::kTimeTC));
  s.writeInt(stats_keys::kTimeTC, seconds);
  for (const auto& key : stats_keys::kCurrentTimes) s.addInt(key, seconds);

  s.writeText(stats_keys::kMoneyPC, s.readText(stats_keys::kMoneyTC));
  s.writeMoney(stats_keys::kMoneyTC, costValue);
  for (const auto& key : stats_keys::kCurrentMoney) {
    if (auto old = s.readMoney(key)) s.writeMoney(key, *old + costValue);
  }

  if (weekday >= 0 && weekday <= 6) {
    s.addInt(stats_keys::weeklyTime(weekday), seconds);
    if (auto old = s.readInt(stats_keys::weeklyMoney(weekday))) {
      s.writeTruncated(stats_keys::weeklyMoney(weekday), static_cast<double>(*old) + costValue);
    }
    s.addInt(stats_keys::weeklyCount(weekday), 1);
  }

  s.writeInt(stats_keys::kUndo, 1);
  s.writeInt(stats_keys::kUndoX, 0);
  s.writeInt(stats_keys::kUndoWD, weekday);
  s.writeMoney(stats_keys::kUndoLos, costValue);
  s.writeInt(stats_keys::kUndoTim, seconds);

  addVolume(s, weekday, volume);
}

void Statistics::clear(std::string_view entry) {
  IniFile file(files_.statistics());
  IniEdit edit(file);
  const auto section = sections::statistics(entry);
  for (const auto& key : stats_keys::kClearedKeys) writeKey(edit, section, key, "0");
  for (const auto& key : stats_keys::kVolumeClearedKeys) writeKey(edit, section, key, "0");
  edit.commit();
}

}  // namespace tarvik
