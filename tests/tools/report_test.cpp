// tarvik-report's reading and its three formats on a known program directory.
#include <gtest/gtest.h>

#include "config/entry_section.h"
#include "support/fifo_guard.h"
#include "support/program_dir.h"
#include "tools/tarvik-report/report_data.h"
#include "tools/tarvik-report/report_log.h"
#include "tools/tarvik-report/report_output.h"

namespace tarvik::report {
namespace {

using test::ProgramDir;

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.writeConfig("[Inet]\nDone=1\nCurrencyDisplayA=руб\nCurrencyDisplayZ=коп\n");
    dir.writeStatistics(
        "[Olm:TK]\nBooked=7\n"
        "[Inet]\nTimeTC=90\nMoneyTC=12,5\nRxTC=13000000\nTxTC=1200000\nTimeTD=3690\n"
        "MoneyTD=1250\nCountTD=2\nRxTD=5000000000\nTxTD=1300000\nTimeTT=abc\nCountTT=9\n"
        "CountPM=x\n"
        "[Default]\nTimeTC=30\nMoneyTC=20,8333339691162\nCountTD=1\n");
    dir.writeAccounts("[Inet]\nAccount=97,5\n[Default]\nAccount=99,79\n[Olm:TK]\nAccount2=-3\n");
    ProgramDir::writeText(  // line ends become CR LF
        dir.files().quickLog(),
        "Tarvik «4» quick connections log\n\n"
        "07.12.2026 23:59:50 = 00:01:30 + [руб| ~0,125 | =97,5  ] <Inet>\n"
        "08.12.2026 08:00:00 = 00:00:00 - [  | ~       | =97,5  ] <Inet>\n"
        "08.12.2026 09:00:00 = 00:00:00 + [user aborts connection] <Default>\n"
        "08.12.2026 10:00:00");  // still open: the connection runs
  }

  std::string out(Format format, const std::optional<std::string>& entry = std::nullopt,
                  bool withLog = false) const {
    return formatReport(readReport(dir.files().dir, entry, withLog), format, NumberFormat{','});
  }

  ProgramDir dir;
};

TEST_F(Report, CsvOfEveryEntryThenTheSharedBalances) {
  EXPECT_EQ(out(Format::Csv),
            "entry,span,seconds,money,currency,count,received,sent\n"
            "Default,connection,30,0.208333339691162,$,,0,0\n"
            "Default,prev_connection,0,0,$,,0,0\n"
            "Default,day,0,0,$,1,0,0\n"
            "Default,prev_day,0,0,$,0,0,0\n"
            "Default,week,0,0,$,0,0,0\n"
            "Default,prev_week,0,0,$,0,0,0\n"
            "Default,month,0,0,$,0,0,0\n"
            "Default,prev_month,0,0,$,0,0,0\n"
            "Default,total,0,0,$,0,0,0\n"
            "Default,account,,99.79,$,,,\n"
            "Inet,connection,90,0.125,руб,,13000000,1200000\n"
            "Inet,prev_connection,0,0,руб,,0,0\n"
            "Inet,day,3690,12.5,руб,2,5000000000,1300000\n"
            "Inet,prev_day,0,0,руб,0,0,0\n"
            "Inet,week,0,0,руб,0,0,0\n"
            "Inet,prev_week,0,0,руб,0,0,0\n"
            "Inet,month,0,0,руб,0,0,0\n"
            "Inet,prev_month,0,0,руб,,0,0\n"  // "x" is no count
            "Inet,total,,0,руб,9,0,0\n"       // "abc" is no number of seconds
            "Inet,account,,97.5,руб,,,\n"
            ",account:default,,99.79,,,,\n"
            ",account:single,,0,,,,\n"
            ",account:group1,,0,,,,\n"
            ",account:group2,,-3,,,,\n"
            ",account:group3,,0,,,,\n");
}

TEST_F(Report, JsonAndTextOfOneEntryWithTheLog) {
  const std::string json = out(Format::Json, "Inet", true);
  EXPECT_TRUE(json.starts_with(
      "{\"entries\":[{\"name\":\"Inet\",\"currency\":\"руб\",\"account\":97.5,\"spans\":["
      "{\"span\":\"connection\",\"seconds\":90,\"money\":0.125,\"count\":null,"))
      << json;
  EXPECT_NE(json.find("{\"span\":\"total\",\"seconds\":null,\"money\":0,\"count\":9,"
                      "\"received\":0,\"sent\":0}]}]"),
            std::string::npos);
  EXPECT_NE(json.find("{\"account\":\"group2\",\"kind\":4,\"value\":-3}"), std::string::npos);
  // The log keeps the entry's connections only; the open line is no row yet.
  EXPECT_TRUE(json.ends_with(
      ",\"log\":[{\"start\":\"07.12.2026 23:59:50\",\"end\":\"08.12.2026 00:01:20\","
      "\"seconds\":90,\"cost\":0.125,\"outcome\":\"booked\",\"entry\":\"Inet\"},"
      "{\"start\":\"08.12.2026 08:00:00\",\"end\":\"08.12.2026 08:00:00\",\"seconds\":0,"
      "\"cost\":null,\"outcome\":\"failed\",\"entry\":\"Inet\"}]}\n"))
      << json;

  EXPECT_EQ(out(Format::Text, "Inet", true),
            "Inet\n"
            "  счёт: 97,50 руб\n"
            "  период                       время   деньги, руб  соед.     принято    передано\n"
            "  последнее соединение      00:01:30          0,13      -     12,4 МБ      1,1 МБ\n"
            "  предыдущее соединение     00:00:00          0,00      -         0 Б         0 Б\n"
            "  сегодня                   01:01:30         12,50      2      4,7 ГБ      1,2 МБ\n"
            "  предыдущий день           00:00:00          0,00      0         0 Б         0 Б\n"
            "  эта неделя                00:00:00          0,00      0         0 Б         0 Б\n"
            "  прошлая неделя            00:00:00          0,00      0         0 Б         0 Б\n"
            "  этот месяц                00:00:00          0,00      0         0 Б         0 Б\n"
            "  прошлый месяц             00:00:00          0,00      ?         0 Б         0 Б\n"
            "  всего                            ?          0,00      9         0 Б         0 Б\n"
            "\n"
            "Счета\n"
            "  счёт «Default»                   99,79\n"
            "  единый счёт                       0,00\n"
            "  общий счёт группы #1              0,00\n"
            "  общий счёт группы #2             -3,00\n"
            "  общий счёт группы #3              0,00\n"
            "\n"
            "Соединения\n"
            "  начало               конец                длительность       стоимость  запись\n"
            "  07.12.2026 23:59:50  08.12.2026 00:01:20      00:01:30           0,125  Inet\n"
            "  08.12.2026 08:00:00  08.12.2026 08:00:00      00:00:00  не установлено  Inet\n");
}

TEST_F(Report, UnknownEntriesAndUnreadableFilesAreRefused) {
  EXPECT_THROW(readReport(dir.files().dir, std::string("Nowhere"), false), ReportError);
  EXPECT_THROW(readReport(dir.files().dir / "missing", std::nullopt, false), ReportError);
  // An entry with settings but no statistics yet reports zeros.
  EXPECT_EQ(readReport(dir.files().dir, std::string("inet"), false).entries.size(), 1u);
  std::filesystem::remove(dir.files().quickLog());
  std::filesystem::create_directory(dir.files().quickLog());  // cannot be read as a file
  EXPECT_NO_THROW(readReport(dir.files().dir, std::nullopt, false));
  EXPECT_THROW(readReport(dir.files().dir, std::nullopt, true), ReportError);
  // Nothing was written.
  EXPECT_FALSE(std::filesystem::exists(dir.files().dir / "TarvikC.Kfg.tmp"));
}

// Entries whose names cannot stand as sections, or stood beside a case twin in the
// phonebook, keep their figures in escaped sections: the report reads those as they are and
// names the entries, whole and by --entry.
TEST(ReportOfEscapedSections, NamesTheEntriesAndReadsTheirFigures) {
  ProgramDir dir;
  const std::vector<std::string> phonebook{"Work", "WORK", "Café ☕", "red\x1B[31m"};
  usePhonebookNames(phonebook);
  std::string statistics, config = "[Default]\nDone=1\n", accounts;
  for (std::size_t i = 0; i < phonebook.size(); ++i) {
    const std::string section = "[" + sectionForEntry(phonebook[i]) + "]\n";
    ASSERT_TRUE(section.starts_with("[~~"));
    const std::string n = std::to_string(i + 1);
    statistics += section + "TimeTC=" + n + "0\nCountTT=" + n + "\n";
    config += section + "Done=1\nCurrencyDisplayA=c" + n + "\n";
    accounts += section + "Account=" + n + ",5\n";
  }
  usePhonebookNames({});  // the report knows no phonebook
  dir.writeStatistics(statistics);
  dir.writeConfig(config);
  dir.writeAccounts(accounts);

  const std::string csv =
      formatReport(readReport(dir.path(), std::nullopt, false), Format::Csv, NumberFormat{','});
  EXPECT_NE(csv.find("Work,connection,10,0,c1,,0,0\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("Work,total,0,0,c1,1,0,0\nWork,account,,1.5,c1,,,\n"), std::string::npos);
  EXPECT_NE(csv.find("WORK,connection,20,0,c2,,0,0\n"), std::string::npos);
  EXPECT_NE(csv.find("WORK,account,,2.5,c2,,,\n"), std::string::npos);
  EXPECT_NE(csv.find("Café ☕,connection,30,0,c3,,0,0\n"), std::string::npos);
  EXPECT_NE(csv.find("red\x1B[31m,connection,40,0,c4,,0,0\n"), std::string::npos);
  EXPECT_EQ(csv.find("~~"), std::string::npos);
  // The table goes to a terminal: the escape character is shown, not sent.
  const std::string text =
      formatReport(readReport(dir.path(), std::nullopt, false), Format::Text, NumberFormat{','});
  EXPECT_NE(text.find("\nred?[31m\n  счёт: 4,50 c4\n"), std::string::npos) << text;
  EXPECT_EQ(text.find('\x1B'), std::string::npos);

  for (std::size_t i = 0; i < phonebook.size(); ++i) {
    const report::Report one = readReport(dir.path(), phonebook[i], false);
    ASSERT_EQ(one.entries.size(), 1u);
    EXPECT_EQ(one.entries[0].name, phonebook[i]);
    EXPECT_EQ(one.entries[0].spans[0].seconds, static_cast<long long>(i + 1) * 10);
    EXPECT_EQ(one.entries[0].account, i + 1.5);
  }
  EXPECT_THROW(readReport(dir.path(), std::string("wORK"), false), ReportError);
}

// Names that decode to controls or to bytes that are not UTF-8 reach neither the terminal nor
// json as such, and a name a spreadsheet would take for a formula stays text in the csv.
TEST(ReportOfHostileNames, ShowsThemSafelyInEveryFormat) {
  ProgramDir dir;
  const std::vector<std::string> phonebook{
      "csi\xC2\x9B"
      "31m",
      "bad\xFF\xFE",
      "=1+1",
      "@SUM(A1)",
      "-2+3",
      "+cmd"};
  usePhonebookNames(phonebook);
  std::string statistics;
  for (const std::string& name : phonebook)
    statistics += "[" + sectionForEntry(name) + "]\nTimeTC=1\n";
  usePhonebookNames({});
  dir.writeStatistics(statistics);
  const auto out = [&](Format format) {
    return formatReport(readReport(dir.path(), std::nullopt, false), format, NumberFormat{','});
  };
  const std::string kReplacement = "\xEF\xBF\xBD";

  const std::string text = "\n" + out(Format::Text);
  EXPECT_NE(text.find("\ncsi?31m\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nbad" + kReplacement + kReplacement + "\n"), std::string::npos) << text;
  const std::string json = out(Format::Json);
  EXPECT_NE(json.find("\"csi\\u009b31m\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"bad" + kReplacement + kReplacement + "\""), std::string::npos) << json;
  for (const std::string& shown : {text, json}) {
    EXPECT_EQ(shown.find("\xC2\x9B"), std::string::npos);
    EXPECT_EQ(shown.find("\xFF"), std::string::npos);
  }
  const std::string csv = out(Format::Csv);
  for (const char* cell : {"\n'=1+1,connection,1,", "\n'@SUM(A1),connection,1,",
                           "\n'-2+3,connection,1,", "\n'+cmd,connection,1,"})
    EXPECT_NE(csv.find(cell), std::string::npos) << cell << "\n" << csv;
}

// Only regular files are read: a FIFO, /dev/zero or /dev/urandom in place of a data file or
// the quick log ends the report with an error instead of waiting, filling the memory or
// reporting nothing.
TEST(ReportOfHostileFiles, RefusesWhatIsNoRegularFile) {
  test::FifoGuard fifos;
  const auto files = [](const ProgramFiles& f) {
    return std::vector<std::filesystem::path>{f.statistics(), f.config(), f.accounts(),
                                              f.quickLog()};
  };
  for (const std::filesystem::path device : {"", "/dev/zero", "/dev/urandom"}) {
    for (std::size_t which = 0; which < 4; ++which) {
      ProgramDir dir;
      dir.writeConfig("[Inet]\nDone=1\n");
      dir.writeStatistics("[Inet]\nTimeTC=1\n");
      const std::filesystem::path file = files(dir.files())[which];
      std::filesystem::remove(file);
      if (device.empty()) {
        fifos.make(file);
      } else {
        std::filesystem::create_symlink(device, file);
      }
      try {
        readReport(dir.path(), std::nullopt, true);
        ADD_FAILURE() << file << " as " << device << " was read";
      } catch (const ReportError& e) {
        EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos) << e.what();
      }
    }
  }
  EXPECT_FALSE(fifos.blocked());
}

TEST(QuickLogRows, OnlyFinishedConnectionLinesBecomeRows) {
  EXPECT_FALSE(parseQuickLogLine("Tarvik «4» quick connections log"));
  EXPECT_FALSE(parseQuickLogLine("06.12.2026 21:10:41"));
  EXPECT_FALSE(parseQuickLogLine("06.12.2026 21:10:41 = 00:00:30 + [$ | 0.2 ] <Default>"));
  EXPECT_FALSE(parseQuickLogLine("32.12.2026 21:10:41 = 00:00:30 + [$ | ~0.2 | =1 ] <X>"));
  const auto row =
      parseQuickLogLine("06.12.2026 21:10:41 = 123:00:00 + [$ | ~0.2083 | =99.791 ] <a <b> c>");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->end, "12.12.2026 00:10:41");
  EXPECT_EQ(row->cost, "0.2083");
  EXPECT_EQ(row->entry, "a <b> c");
  const auto named = parseQuickLogLine(
      "06.12.2026 21:10:41 = 00:00:30 + [руб| ~0.2 | =1     ] <Office [VPN] <main>>");
  ASSERT_TRUE(named);
  EXPECT_EQ(named->entry, "Office [VPN] <main>");
  EXPECT_EQ(named->cost, "0.2");
}

}  // namespace
}  // namespace tarvik::report
