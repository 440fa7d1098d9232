#include "monitor/pending_bookings.h"

#include <algorithm>
#include <climits>
#include <set>
#include <system_error>

#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/keys.h"
#include "config/write_step.h"

namespace tarvik {

namespace {

namespace fs = std::filesystem;

bool sameKey(const AccountKey& a, const AccountKey& b) {
  // Sections and keys compare as the INI files compare them: without regard to case.
  const auto fold = [](std::string_view s) { return cp1251Fold(utf8ToCp1251(s)); };
  return fold(a.section.name()) == fold(b.section.name()) &&
         fold(a.key.name.view()) == fold(b.key.name.view());
}

// Something in the way of the aside file (a folder of that name) does not make it the queue.
bool regularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(fs::status(p, ec));
}

void removeFile(const fs::path& p) {
  std::error_code ec;
  writeStep();
  if (!fs::remove(p, ec) && ec) throw IniWriteError("cannot remove " + p.string());
}

// What a kept booking lacks to be booked as it was metered, or "" when it is whole. The
// program writes every key of a booking each time, so a missing one means the section was
// cut or edited; booking it would make up the figure (a balance of 0 over a real one).
std::string missingFigure(const IniDocument& file, const Section<Scope::Journal>& section,
                          const JournalReading& r) {
  using namespace journal_keys;
  if (!hasKey(file, section, kEntry)) return "Entry";
  if (!r.hasLosses || !r.losses) return "Losses";
  if (!r.account) return "Account";
  if (!r.sound) return "a figure no booking can hold";
  if (!hasKey(file, section, kDuration)) return "Duration";
  if (!r.weekday) return "WeekDay";
  const int kind = readKey(file, section, kAccId, -1);
  if (kind < 0 || kind > 5) return "AccID";
  const int lineOpen = readKey(file, section, kLineOpen, -1);
  if (lineOpen != 0 && lineOpen != 1) return "LineOpen";
  return {};
}

RefusedBooking refusedSection(const IniDocument& file, const std::string& name, std::string why) {
  RefusedBooking refused{name, {}, std::move(why)};
  for (const std::string& key : file.keyNames(name))
    refused.keys.emplace_back(key, file.readString(name, key));
  return refused;
}

// Keys a writer refuses (a name no line can hold) are left out rather than losing the rest.
void putRefused(IniEdit& edit, const std::vector<RefusedBooking>& refused) {
  for (const RefusedBooking& r : refused) {
    for (const auto& [key, value] : r.keys) {
      try {
        edit.writeString(r.section, key, value);
      } catch (const IniWriteError&) {
      }
    }
  }
}

}  // namespace

int identityNumber(std::string_view identity) {
  if (identity.empty() || identity.size() > 10 || identity.front() == '0') return 0;
  long long n = 0;
  for (const char c : identity) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n <= INT_MAX ? static_cast<int>(n) : 0;
}

KeptBookings::KeptBookings(ProgramFiles files, NumberFormat format)
    : files_(std::move(files)), format_(format) {}

bool KeptBookings::movedAside() const {
  return regularFile(files_.keptBookingsAside());
}

KeptQueue KeptBookings::read() const {
  const IniDocument file =
      IniFile(movedAside() ? files_.keptBookingsAside() : files_.keptBookings()).snapshot();
  KeptQueue queue;
  std::set<int> seen;
  for (const std::string& name : file.sectionNames()) {
    const bool kept = name.starts_with(sections::kKeptBookingPrefix);
    const std::string identity = kept ? name.substr(sections::kKeptBookingPrefix.size()) : "";
    const int number = identityNumber(identity);
    if (number == 0) {
      queue.refused.push_back(refusedSection(file, name, "no booking identity"));
      continue;
    }
    const Section<Scope::Journal> section = sections::keptBooking(identity);
    const JournalReading r = getJournalRecord(file, section);
    if (std::string why = missingFigure(file, section, r); !why.empty()) {
      queue.refused.push_back(refusedSection(file, name, "no " + why));
      continue;
    }
    // Another spelling of an identity read already is a copy of that booking.
    if (!seen.insert(number).second) continue;
    KeptBooking k;
    k.record.time = r.time;
    k.record.figures = ConnectionFigures{.entry = r.entry,
                                         .cost = static_cast<float>(*r.losses),
                                         .balance = static_cast<float>(*r.account),
                                         .seconds = r.seconds,
                                         .accountKind = r.accountKind,
                                         .volume = r.volume,
                                         .weekday = *r.weekday};
    k.record.mark = BookingMark::Started;
    k.record.identity = identity;
    k.lineOpen = readKey(file, section, journal_keys::kLineOpen) != 0;
    queue.bookings.push_back(std::move(k));
  }
  // The program keeps them in this order; a file put together otherwise is booked in it too.
  std::stable_sort(queue.bookings.begin(), queue.bookings.end(),
                   [](const KeptBooking& a, const KeptBooking& b) {
                     return identityNumber(a.record.identity) < identityNumber(b.record.identity);
                   });
  return queue;
}

bool KeptBookings::holds(const std::string& identity) const {
  const std::vector<KeptBooking> kept = list();
  return std::any_of(kept.begin(), kept.end(),
                     [&](const KeptBooking& k) { return k.record.identity == identity; });
}

std::string KeptBookings::lastIdentity() const {
  const std::vector<KeptBooking> kept = list();
  return kept.empty() ? std::string() : kept.back().record.identity;
}

void KeptBookings::writeQueue(const fs::path& file, const std::vector<KeptBooking>& bookings,
                              const std::vector<RefusedBooking>& refused) const {
  IniEdit edit{IniFile(file)};
  // Written whole: copies of a section and sections of no booking do not survive a rewrite.
  edit.clear();
  for (const KeptBooking& b : bookings) {
    const Section<Scope::Journal> section = sections::keptBooking(b.record.identity);
    putJournalRecord(edit, section, b.record, format_);
    writeKey(edit, section, journal_keys::kLineOpen, b.lineOpen ? 1 : 0);
  }
  putRefused(edit, refused);
  edit.commit();
}

void KeptBookings::append(const KeptBooking& booking) {
  const Section<Scope::Journal> section = sections::keptBooking(booking.record.identity);
  const fs::path file = movedAside() ? files_.keptBookingsAside() : files_.keptBookings();
  try {
    IniEdit edit{IniFile(file)};
    putJournalRecord(edit, section, booking.record, format_);
    writeKey(edit, section, journal_keys::kLineOpen, booking.lineOpen ? 1 : 0);
    edit.commit();
  } catch (const IniWriteError&) {
    if (file != files_.keptBookings()) throw;
    // security.que refuses: the queue moves aside whole, so its order stays one file's order.
    KeptQueue queue = read();
    queue.bookings.push_back(booking);
    writeQueue(files_.keptBookingsAside(), queue.bookings, queue.refused);
  }
}

void KeptBookings::rewrite(const std::vector<KeptBooking>& bookings,
                           const std::vector<RefusedBooking>& refused) {
  if (bookings.empty() && refused.empty()) {
    // A folder without waiting bookings holds no trace of them.
    removeFile(files_.keptBookings());
    removeFile(files_.keptBookingsAside());
    return;
  }
  try {
    writeQueue(files_.keptBookings(), bookings, refused);
  } catch (const IniWriteError&) {
    writeQueue(files_.keptBookingsAside(), bookings, refused);
    return;
  }
  std::error_code ec;
  fs::remove(files_.keptBookingsAside(), ec);
}

void KeptBookings::setLinesFinished() {
  KeptQueue queue = read();
  bool changed = false;
  for (KeptBooking& k : queue.bookings) changed = std::exchange(k.lineOpen, false) || changed;
  if (changed) rewrite(queue.bookings, queue.refused);
}

void KeptBookings::setAside(const std::vector<RefusedBooking>& refused) {
  IniEdit edit{IniFile(files_.setAsideBookings())};
  putRefused(edit, refused);
  edit.commit();
}

bool KeptBookings::writes(const std::string& entry, int accountKind, const AccountKey& account) {
  return sameKey(accountKey(entry, accountKind), account) ||
         sameKey(accountKey(entry, kAccountIndividual), account);
}

std::optional<float> KeptBookings::pendingBalance(const std::vector<KeptBooking>& bookings,
                                                  const AccountKey& account) {
  std::optional<float> balance;
  for (const KeptBooking& k : bookings) {
    const ConnectionFigures& f = k.record.figures;
    if (writes(f.entry, f.accountKind, account)) balance = f.balance;
  }
  return balance;
}

}  // namespace tarvik
