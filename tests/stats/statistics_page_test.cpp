#include <gtest/gtest.h>

#include "stats/statistics_report.h"
#include "stats/statistics_sheet.h"
#include "stats/stats_fixture.h"
#include "stats/weekly_graph.h"

namespace tarvik {
namespace {

class StatisticsPageTest : public test::StatsFixture {};

// A known statistics file read into the grid and written out as the report, byte for byte.
TEST_F(StatisticsPageTest, GridAndReportOfAKnownFile) {
  dir.writeStatistics(
      "[Inet]\nTimeTC=3723\nTimePC=59\nTimeTD=3723\nTimePD=443045\nTimeTW=7200\nTimePW=0\n"
      "TimeTM=86399\nTimePM=360000\nTimeTT=442923\n"
      "MoneyTC=12,5\nMoneyPC=5\nMoneyTD=1250\nMoneyPD=123456\nMoneyTW=123456,789\n"
      "MoneyPW=0,5\nMoneyTM=-250\nMoneyPM=abc\nMoneyTT=99999999\n"
      "CountTD=4\nCountPD=0\nCountTW=12\nCountPM=7\nCountTT=1234\nUndo=1\n"
      "RxTC=13002342\nTxTC=1153434\nRxTD=1023\nTxTD=1048525\nRxTT=5046586573\nTxTT=abc\n"
      "[Other]\nTimeTD=1\n");
  dir.writeAccounts("[Inet]\nAccount=17,25\n");
  const StatisticsSheet sheet = readStatisticsSheet(dir.files(), "Inet", comma);
  ASSERT_EQ(sheet.cells.size(), 36u);
  EXPECT_EQ(sheet.text("st_tim_tc"), "01:02:03");
  EXPECT_EQ(sheet.text("st_tim_pc"), "00:00:59");
  EXPECT_EQ(sheet.text("st_tim_pd"), "123:04:05");  // more hour digits when needed
  EXPECT_EQ(sheet.text("st_tim_pw"), "00:00:00");
  EXPECT_EQ(sheet.text("st_exp_tc"), "0,125");
  EXPECT_EQ(sheet.text("st_exp_pc"), "0,05");
  EXPECT_EQ(sheet.text("st_exp_pd"), "1234,5");  // cut, not rounded
  EXPECT_EQ(sheet.text("st_exp_tw"), "1234,5");
  EXPECT_EQ(sheet.text("st_exp_tm"), "-2,5");
  EXPECT_EQ(sheet.text("st_exp_pm"), "abc");  // a hand edit is shown as it is
  EXPECT_EQ(sheet.text("st_exp_tt"), "999999");
  EXPECT_EQ(sheet.text("st_num_tc"), "-");
  EXPECT_EQ(sheet.text("st_num_pc"), "-");
  EXPECT_EQ(sheet.text("st_num_pw"), "0");
  EXPECT_EQ(sheet.text("st_num_tt"), "1234");
  // Received above sent, as the tooltips write them; 1023,95 КБ and more is 1,0 МБ.
  EXPECT_EQ(sheet.text("st_vol_tc"), "12,4 МБ\n1,1 МБ");
  EXPECT_EQ(sheet.text("st_vol_td"), "1023 Б\n1,0 МБ");
  EXPECT_EQ(sheet.text("st_vol_tt"), "4,7 ГБ\n0 Б");  // past the int range; text is none
  EXPECT_EQ(sheet.text("st_vol_pm"), "0 Б\n0 Б");
  EXPECT_TRUE(sheet.undoAvailable);
  EXPECT_EQ(sheet.accountText, "17,25");
  EXPECT_FALSE(readStatisticsSheet(dir.files(), "Other", comma).undoAvailable);

  ReportHeader header{makeLocalTime(2026, 12, 8, 9, 5, 7), "Вт", "Inet", "$", "17,25"};
  const auto file = dir.path() / "report.txt";
  ASSERT_TRUE(writeReport(file, reportLines(header, sheet)));
  const std::string rule(45, '-');
  const std::string expected = rule + "\r\n     T a r v i k\r\n" + rule +
                               "\r\n"
                               "Дата статистики: 08.12.2026, Вт\r\n"
                               "Время создания: 09:05:07\r\n"
                               "Учётная запись: Inet\r\n"
                               "Cостояние счёта: $ 17,25\r\n" +
                               rule +
                               "\r\n"
                               "Текущий день      | 01:02:03 | 12,5   | 4\r\n"
                               "Предыдущий день   | 123:04:05 | 1234,5 | 0\r\n"
                               "Текущая неделя    | 02:00:00 | 1234,5 | 12\r\n"
                               "Предыдущая неделя | 00:00:00 | 0,005  | 0\r\n"
                               "Текущий месяц     | 23:59:59 | -2,5   | 0\r\n"
                               "Предыдущий месяц  | 100:00:00 | abc    | 7\r\n"
                               "Итог              | 123:02:03 | 999999 | 1234\r\n" +
                               rule + "\r\nhttps://tarvik.example.org/    Tarvik v4.0\r\n";
  EXPECT_EQ(test::ProgramDir::readText(file), expected);
  // Code page 1251 on disk, with the Latin C of the balance line.
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_NE(bytes.find("C\xEE\xF1\xF2\xEE\xFF\xED\xE8\xE5 \xF1\xF7\xB8\xF2\xE0: $"),
            std::string::npos);
  EXPECT_EQ(reportFileName(header.now), "tarvik_08.12.2026.txt");

  // The volume row stays out of the report: its lines are the ones above, byte for byte.
  // A report that cannot be written says so and leaves the old file alone.
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_FALSE(writeReport(file, {"other"}));
  EXPECT_EQ(test::ProgramDir::readText(file), expected);
}

TEST_F(StatisticsPageTest, WeeklyGraphScalesEachAxis) {
  dir.writeStatistics(
      "[Inet]\nGr1t=2700\nGr1f=1999\nGr1c=7\nGr2t=-600\nGr3t=59\nGr0t=360000\nGr6f=99999999\n"
      "Gr1rx=52428800\nGr1tx=10485759\nGr2rx=5368709120\nGr0rx=9223372036854775807\nGr0tx=1\n");
  const auto at = [&](GraphAxis axis, int maximum) {
    return readWeeklyPositions(dir.files(), "Inet", graphAxis(static_cast<int>(axis)), maximum);
  };
  // 45 minutes on a 60-minute scale.
  EXPECT_EQ(at(GraphAxis::Time, 60)[1], 75);
  EXPECT_EQ(at(GraphAxis::Time, 60)[2], -16);  // -10 minutes of 60
  EXPECT_EQ(at(GraphAxis::Time, 60)[3], 0);    // whole minutes only
  EXPECT_EQ(at(GraphAxis::Time, 60)[0], 10000);
  EXPECT_EQ(at(GraphAxis::Connections, 5)[1], 140);
  EXPECT_EQ(at(GraphAxis::Money, 25)[1], 76);  // 19 whole units of 25
  EXPECT_EQ(at(GraphAxis::MoneySmall, 2000)[1], 99);
  EXPECT_EQ(at(GraphAxis::MoneySmall, 5)[6], 1999999980);
  EXPECT_EQ(at(GraphAxis::MoneySmall, 5)[5], 0);
  // Received and sent together, in whole megabytes: 50 + 9 of 100, then 5 GB of 3600 MB.
  EXPECT_EQ(at(GraphAxis::Volume, 100)[1], 59);
  EXPECT_EQ(at(GraphAxis::Volume, 3600)[2], 142);
  EXPECT_EQ(at(GraphAxis::Volume, 5)[0], INT_MAX);  // a sum past 64 bits stops at the top
  EXPECT_EQ(at(GraphAxis::Volume, 100)[3], 0);
  // No axis checked: the hundredths axis.
  EXPECT_EQ(readWeeklyPositions(dir.files(), "Inet", graphAxis(-1), 2000)[1], 99);
  EXPECT_EQ(barPosition(1LL << 40, 1, 5), INT_MAX);
  EXPECT_EQ(barPosition(LLONG_MIN, 1, 5), INT_MIN);
  EXPECT_EQ(barPosition(100, 1, 0), 0);

  const CurrencyNames roubles =
      currencyNames(static_cast<int>(Currency::Roubles), defaultCustomCurrency());
  EXPECT_EQ(axisCaption(graphAxis(1), roubles), "ось Y:  ДЕНЬГИ  p");
  EXPECT_EQ(axisCaption(graphAxis(2), roubles), "ось Y:  ДЕНЬГИ  k");
  EXPECT_EQ(axisUnit(graphAxis(0), roubles), "МИН.");
  EXPECT_EQ(axisUnit(graphAxis(3), roubles), "РАЗ");
  EXPECT_EQ(axisCaption(graphAxis(4), roubles), "ось Y:  ТРАФИК");
  EXPECT_EQ(axisUnit(graphAxis(4), roubles), "МБ");
  CurrencyNames custom = defaultCustomCurrency();
  custom.sign = "Ж";
  EXPECT_EQ(axisUnit(graphAxis(1), currencyNames(2, custom)), "Ж");
}

}  // namespace
}  // namespace tarvik
