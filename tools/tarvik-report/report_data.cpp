#include "tools/tarvik-report/report_data.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <system_error>

#include "config/codepage.h"
#include "config/entry_section.h"
#include "config/file_encoding.h"
#include "config/ini_file.h"
#include "config/ini_parse.h"
#include "config/keys.h"
#include "config/number_text.h"
#include "config/program_files.h"
#include "config/regular_file.h"
#include "tools/tarvik-report/report_log.h"

namespace tarvik::report {

namespace {

namespace fs = std::filesystem;
namespace k = stats_keys;

struct SpanKeys {
  const char* id;
  const char* label;
  k::K time, money;
  std::optional<k::K> count;
  k::K received, sent;
};

const SpanKeys kSpans[] = {
    {"connection", "последнее соединение", k::kTimeTC, k::kMoneyTC, std::nullopt, k::kRxTC,
     k::kTxTC},
    {"prev_connection", "предыдущее соединение", k::kTimePC, k::kMoneyPC, std::nullopt, k::kRxPC,
     k::kTxPC},
    {"day", "сегодня", k::kTimeTD, k::kMoneyTD, k::kCountTD, k::kRxTD, k::kTxTD},
    {"prev_day", "предыдущий день", k::kTimePD, k::kMoneyPD, k::kCountPD, k::kRxPD, k::kTxPD},
    {"week", "эта неделя", k::kTimeTW, k::kMoneyTW, k::kCountTW, k::kRxTW, k::kTxTW},
    {"prev_week", "прошлая неделя", k::kTimePW, k::kMoneyPW, k::kCountPW, k::kRxPW, k::kTxPW},
    {"month", "этот месяц", k::kTimeTM, k::kMoneyTM, k::kCountTM, k::kRxTM, k::kTxTM},
    {"prev_month", "прошлый месяц", k::kTimePM, k::kMoneyPM, k::kCountPM, k::kRxPM, k::kTxPM},
    {"total", "всего", k::kTimeTT, k::kMoneyTT, k::kCountTT, k::kRxTT, k::kTxTT},
};

// Blank text counts as 0, like a missing key; anything but a whole number is no value.
std::optional<long long> wholeNumber(std::string text) {
  text.erase(0, text.find_first_not_of(" \t"));
  text.erase(text.find_last_not_of(" \t") + 1);
  if (text.empty()) return 0;
  long long value = 0;
  const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
  const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> decimalNumber(const std::string& text) {
  if (text.find_first_not_of(" \t") == std::string::npos) return 0.0;
  return parseDecimal(text);
}

}  // namespace

std::string readDataBytes(const fs::path& file) {
  FileRead read = readRegularFile(file);
  if (read.error == ENOENT || read.error == ENOTDIR) return {};
  if (read.error != 0)
    throw ReportError("cannot read " + file.string() + ": " + readErrorText(read.error));
  const FileEncoding encoding = encodingOf(read.bytes);
  if (encoding != FileEncoding::Cp1251) return toCp1251(read.bytes, encoding);
  return std::move(read.bytes);
}

IniDocument readDataFile(const fs::path& file) {
  return IniDocument(readDataBytes(file));
}

namespace {

// One entry's statistics, read in a single pass over its section's lines: with a great many
// entries a lookup by name for every key would cost a miss in a table of them all each time.
// Like a lookup, only the first section of the name and the first line of each key count.
class SectionValues {
 public:
  SectionValues(const ini::Document& doc, const std::string& section) {
    const ini::Region* region = ini::findSection(doc, section);
    if (region == nullptr) return;
    const std::string_view bytes(doc.bytes);
    for (std::size_t i = region->firstLine; i < region->endLine; ++i) {
      const ini::Line& line = doc.lines[i];
      if (line.kind != ini::LineKind::Key) continue;
      std::string name = cp1251Fold(bytes.substr(line.nameBegin, line.nameEnd - line.nameBegin));
      if (find(name) == nullptr)
        values_.emplace_back(std::move(name),
                             bytes.substr(line.valueBegin, line.valueEnd - line.valueBegin));
    }
  }
  // `folded` as ini::lookupKey makes it.
  std::string read(const std::string& folded, std::string_view def) const {
    const std::string_view* raw = find(folded);
    return raw ? ini::decodeValue(*raw) : std::string(def);
  }

 private:
  const std::string_view* find(const std::string& folded) const {
    for (const auto& [name, raw] : values_)
      if (name == folded) return &raw;
    return nullptr;
  }
  std::vector<std::pair<std::string, std::string_view>> values_;
};

// The statistics keys of each span as lookup keys, made once.
struct FoldedSpanKeys {
  std::string time, money, count, received, sent;
};
const std::vector<FoldedSpanKeys>& foldedSpanKeys() {
  static const std::vector<FoldedSpanKeys> folded = [] {
    std::vector<FoldedSpanKeys> all;
    for (const SpanKeys& keys : kSpans) {
      all.push_back({ini::lookupKey(keys.time.name.view()), ini::lookupKey(keys.money.name.view()),
                     keys.count ? ini::lookupKey(keys.count->name.view()) : std::string(),
                     ini::lookupKey(keys.received.name.view()),
                     ini::lookupKey(keys.sent.name.view())});
    }
    return all;
  }();
  return folded;
}

bool sameSection(const std::string& a, const std::string& b) {
  return cp1251Fold(utf8ToCp1251(a)) == cp1251Fold(utf8ToCp1251(b));
}

// `section` is a section name as the files hold it, mapped from the entry's name already: it
// is read as it stands, and the report names the entry it stands for.
EntryReport entryReport(const ini::Document& statistics, const IniDocument& config,
                        const IniDocument& accounts, const std::string& section) {
  EntryReport e;
  e.name = entryForSection(section);
  const SectionValues values(statistics, section);
  for (std::size_t i = 0; i < std::size(kSpans); ++i) {
    const SpanKeys& keys = kSpans[i];
    const FoldedSpanKeys& folded = foldedSpanKeys()[i];
    SpanFigures span;
    span.id = keys.id;
    span.label = keys.label;
    span.seconds = wholeNumber(values.read(folded.time, keys.time.def));
    span.money = decimalNumber(values.read(folded.money, keys.money.def));
    span.counted = keys.count.has_value();
    if (keys.count) span.count = wholeNumber(values.read(folded.count, keys.count->def));
    span.received = wholeNumber(values.read(folded.received, keys.received.def));
    span.sent = wholeNumber(values.read(folded.sent, keys.sent.def));
    e.spans.push_back(std::move(span));
  }
  const auto settings = Section<Scope::Entry>::fromSectionName(section);
  e.currencySign = readKey(config, settings, entry_keys::kCurrencyDisplayA);
  e.costUnit = readKey(config, settings, entry_keys::kCurrencyDisplayZ);
  e.account = parseDecimal(
      readKey(accounts, Section<Scope::Balance>::fromSectionName(section), balance_keys::kAccount));
  return e;
}

std::vector<AccountBalance> sharedBalances(const IniDocument& accounts) {
  const auto balance = [&](const Section<Scope::Balance>& section,
                           const TextKey<Scope::Balance>& key) {
    return parseDecimal(readKey(accounts, section, key));
  };
  std::vector<AccountBalance> result{
      {1, "default", "счёт «Default»",
       balance(sections::balance(kDefaultEntry), balance_keys::kAccount)},
      {2, "single", "единый счёт", balance(sections::sharedBalance(), balance_keys::kAccount)}};
  for (int group = 0; group < 3; ++group) {
    result.push_back({3 + group, "group" + std::to_string(group + 1),
                      "общий счёт группы #" + std::to_string(group + 1),
                      balance(sections::sharedBalance(), balance_keys::kGroupAccount[group])});
  }
  return result;
}

// The entries with statistics, "Default" first, then in the file's order.
std::vector<std::string> entrySections(const ini::Document& statistics) {
  std::vector<std::string> names;
  const std::string shared = sections::sharedStatistics().name();
  for (std::string& name : ini::sectionNames(statistics)) {
    if (!sameSection(name, shared)) names.push_back(std::move(name));
  }
  std::stable_partition(names.begin(), names.end(), [](const std::string& name) {
    return sameSection(name, std::string(kDefaultEntry));
  });
  return names;
}

}  // namespace

Report readReport(const fs::path& dir, const std::optional<std::string>& entry, bool withLog,
                  const std::function<void(EntryReport)>& onEntry) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) throw ReportError(dir.string() + " is not a directory");
  const ProgramFiles files{dir};
  if (!fs::exists(files.config(), ec) && !fs::exists(files.statistics(), ec))
    throw ReportError(dir.string() + " holds no TarvikC.Kfg or TarvikS.Kfg");

  // Each file is read and parsed once; every lookup below goes to these copies.
  const IniDocument config = readDataFile(files.config());
  const ini::Document statistics = ini::parse(readDataBytes(files.statistics()));
  const IniDocument accounts = readDataFile(files.accounts());

  Report report;
  report.withLog = withLog;
  if (withLog) report.log = readQuickLog(files.quickLog());

  std::vector<std::string> names = entrySections(statistics);
  if (entry) {
    // Names that differ only in case are kept in escaped sections while they stand side by
    // side in the phonebook, which the report does not know: a section that stands for
    // exactly this name comes first, then the section the name maps to by itself.
    std::vector<std::string> all = std::move(names);
    for (std::string& name : config.sectionNames()) all.push_back(std::move(name));
    const auto exact = std::find_if(all.begin(), all.end(), [&](const std::string& n) {
      return n.starts_with(kEscapedSectionPrefix) && entryForSection(n) == *entry;
    });
    std::string wanted = exact != all.end() ? *exact : sectionForEntry(*entry);
    const auto known = std::any_of(all.begin(), all.end(),
                                   [&](const std::string& n) { return sameSection(n, wanted); });
    if (!known && !sameSection(wanted, "Default"))
      throw ReportError("no entry \xC2\xAB" + *entry + "\xC2\xBB in " + dir.string());
    names = {std::move(wanted)};
    std::erase_if(report.log, [&](const LogRow& row) { return row.entry != *entry; });
  }
  report.balances = sharedBalances(accounts);
  for (const std::string& name : names) onEntry(entryReport(statistics, config, accounts, name));
  return report;
}

Report readReport(const fs::path& dir, const std::optional<std::string>& entry, bool withLog) {
  std::vector<EntryReport> entries;
  Report report =
      readReport(dir, entry, withLog, [&](EntryReport e) { entries.push_back(std::move(e)); });
  report.entries = std::move(entries);
  return report;
}

}  // namespace tarvik::report
