#include "monitor/pending_bookings.h"

#include <system_error>

#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/keys.h"

namespace tarvik {

namespace {

bool sameKey(const AccountKey& a, const AccountKey& b) {
  // Sections and keys compare as the INI files compare them: without regard to case.
  const auto fold = [](std::string_view s) { return cp1251Fold(utf8ToCp1251(s)); };
  return fold(a.section.name()) == fold(b.section.name()) &&
         fold(a.key.name.view()) == fold(b.key.name.view());
}

}  // namespace

KeptBookings::KeptBookings(ProgramFiles files, NumberFormat format)
    : files_(std::move(files)), format_(format) {}

std::vector<KeptBooking> KeptBookings::list() const {
  const IniFile file(files_.keptBookings());
  std::vector<KeptBooking> kept;
  for (const std::string& name : file.sectionNames()) {
    if (!name.starts_with(sections::kKeptBookingPrefix)) continue;
    const std::string identity = name.substr(sections::kKeptBookingPrefix.size());
    const Section<Scope::Journal> section = sections::keptBooking(identity);
    const JournalReading r = getJournalRecord(file, section);
    // Only the program writes this file; a hand-made figure no booking could hold is skipped.
    if (!r.sound) continue;
    KeptBooking k;
    k.record.time = r.time;
    k.record.figures = MeterFigures{r.entry,
                                    static_cast<float>(r.losses.value_or(0)),
                                    static_cast<float>(r.account.value_or(0)),
                                    r.seconds,
                                    r.accountKind,
                                    r.volume};
    k.record.weekday = r.weekday.value_or(0);
    k.record.mark = BookingMark::Started;
    k.record.identity = identity;
    k.lineOpen = readKey(file, section, journal_keys::kLineOpen) != 0;
    kept.push_back(std::move(k));
  }
  return kept;
}

bool KeptBookings::empty() const {
  return list().empty();
}

bool KeptBookings::holds(const std::string& identity) const {
  return !identity.empty() &&
         IniFile(files_.keptBookings()).hasSection(sections::keptBooking(identity).name());
}

std::string KeptBookings::lastIdentity() const {
  const std::vector<KeptBooking> kept = list();
  return kept.empty() ? std::string() : kept.back().record.identity;
}

void KeptBookings::append(const KeptBooking& booking) {
  const Section<Scope::Journal> section = sections::keptBooking(booking.record.identity);
  IniEdit edit{IniFile(files_.keptBookings())};
  putJournalRecord(edit, section, booking.record, format_);
  writeKey(edit, section, journal_keys::kLineOpen, booking.lineOpen ? 1 : 0);
  edit.commit();
}

void KeptBookings::removeFirst() {
  const std::vector<KeptBooking> kept = list();
  if (kept.empty()) return;
  if (kept.size() == 1) {
    // The last one goes with its file, so a folder without waiting bookings holds no trace.
    std::error_code ec;
    if (std::filesystem::remove(files_.keptBookings(), ec) || !ec) return;
  }
  IniFile(files_.keptBookings())
      .deleteSection(sections::keptBooking(kept.front().record.identity).name());
}

void KeptBookings::setLineFinished(const std::string& identity) {
  // A section that is not there would come back as a booking of its own.
  if (!holds(identity)) return;
  IniFile file(files_.keptBookings());
  writeKey(file, sections::keptBooking(identity), journal_keys::kLineOpen, 0);
}

bool KeptBookings::writes(const std::string& entry, int accountKind, const AccountKey& account) {
  return sameKey(accountKey(entry, accountKind), account) ||
         sameKey(accountKey(entry, kAccountIndividual), account);
}

std::optional<float> KeptBookings::pendingBalance(const AccountKey& account,
                                                  const std::set<std::string>& written) const {
  std::optional<float> balance;
  for (const KeptBooking& k : list()) {
    const MeterFigures& f = k.record.figures;
    if (!written.contains(k.record.identity) && writes(f.entry, f.accountKind, account))
      balance = f.balance;
  }
  return balance;
}

}  // namespace tarvik
