#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "settings/qt/pages/tab_cur.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

class TabCurTest : public QObject {
  Q_OBJECT

 private slots:
  // Load -> the currency, its captions, the account and the money field as stored; change ->
  // ПРИМЕНИТЬ -> the entry holds the new currency with its signs, the groups their balances.
  void loadChangeApply() {
    DialogFixture f({"ISP"});
    f.dir.writeConfig(
        "[Olm:TK]\nEntry=1\n[ISP]\nDone=1\nCurrencyIndex=1\nCurrencyDisplay=1\n"
        "AccountDisplay=0\nAccountPersonal=1\nAccountProvider2=1\n");
    f.dir.writeAccounts("[Olm:TK]\nAccount1=5\nAccount2=12,5\n");
    f.dialog->showOnPage(PageId::Cur);
    auto* currency = f.find<QComboBox>("o_cur");
    auto* shown = f.find<QComboBox>("o_cur_show");
    QCOMPARE(currency->currentText(), QString("РУБЛИ"));
    QCOMPARE(shown->itemText(0), QString("(k)   КОПЕЙКИ"));
    QCOMPARE(shown->currentText(), QString("(p)   РУБЛИ"));
    QVERIFY(shown->isEnabled());
    QVERIFY(!f.find<QLineEdit>("e_cur")->isEnabled());
    QCOMPARE(f.find<QLabel>("s_month")->text(), QString("k / МЕСЯЦ"));
    QCOMPARE(f.find<QLabel>("s_tax")->text(), QString("k / ЧАС"));
    QCOMPARE(f.find<QLabel>("s_centz")->text(), QString("[ (k)   КОПЕЙКИ ]"));
    QVERIFY(f.find<QRadioButton>("o_acc_2")->isChecked());
    QVERIFY(f.find<QLineEdit>("e_acc_2")->isEnabled());
    QVERIFY(!f.find<QLineEdit>("e_acc_1")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("e_acc_2")->text(), QString("12,5"));
    QVERIFY(f.find<QRadioButton>("o_expences")->isChecked());
    QVERIFY(!f.find<QPushButton>("b_apply")->isEnabled());

    // Dollars keep whole units selected; the captions follow.
    currency->setCurrentIndex(0);
    QCOMPARE(shown->currentText(), QString("($)   ДОЛЛАРЬI"));
    QCOMPARE(f.find<QLabel>("s_month")->text(), QString("ц / МЕСЯЦ"));
    QCOMPARE(f.find<QLabel>("s_tax")->text(), QString("ц / ЧАС"));
    QCOMPARE(f.find<QLabel>("p_exp")->text(), QString(" ФИНАНСОВЬIЕ  ЗАТРАТЬI  ($)"));
    QCOMPARE(f.find<QLabel>("s_acc")->text(), QString(" СЧЕТ   >>>   $"));
    QCOMPARE(f.find<QRadioButton>("z_x_cent")->text(), QString("ось Y:  ДЕНЬГИ  ц"));
    QVERIFY(f.find<QPushButton>("b_apply")->isEnabled());

    // The custom currency: its fields open, its name replaces the list's item while typed.
    currency->setCurrentIndex(2);
    QVERIFY(f.find<QLineEdit>("e_cur")->isEnabled());
    QCOMPARE(shown->itemText(1), QString("(@)   НАСТРАИВАЕМАЯ"));
    QTest::keyClicks(f.find<QLineEdit>("e_cur"), "X");
    QCOMPARE(currency->itemText(2), QString("НАСТРАИВАЕМАЯX"));
    QCOMPARE(currency->currentIndex(), 2);
    f.find<QLineEdit>("e_cur_s")->setText("Lt");
    f.find<QLineEdit>("e_cur_sub_s")->setText("ctx");  // two characters at most
    QCOMPARE(f.find<QLineEdit>("e_cur_sub_s")->text(), QString("ct"));
    QCOMPARE(f.find<QLabel>("s_month")->text(), QString("ct / МЕСЯЦ"));
    QCOMPARE(shown->currentIndex(), 1);

    // A balance shows in whole units: choosing it forces them and locks the list.
    shown->setCurrentIndex(0);
    f.find<QRadioButton>("o_account")->setChecked(true);
    QCOMPARE(shown->currentIndex(), 1);
    QVERIFY(!shown->isEnabled());
    f.find<QRadioButton>("o_expences")->setChecked(true);
    QVERIFY(shown->isEnabled());
    QCOMPARE(shown->currentIndex(), 1);
    f.find<QRadioButton>("o_account")->setChecked(true);

    // A group balance that is not a number brings all three stored ones back.
    f.find<QRadioButton>("o_acc_1")->setChecked(true);
    auto* group1 = f.find<QLineEdit>("e_acc_1");
    group1->selectAll();
    QTest::keyClicks(group1, "7,25");
    f.find<QLineEdit>("e_acc_2")->setText("99");
    QTest::keyClicks(group1, "z");
    QCOMPARE(group1->text(), QString("5"));
    QCOMPARE(f.find<QLineEdit>("e_acc_2")->text(), QString("12,5"));
    group1->setText("-1,5");

    f.find<QPushButton>("b_apply")->click();
    const IniFile config = f.config();
    QCOMPARE(config.readInt("ISP", "CurrencyIndex", 0), 2);
    QCOMPARE(config.readInt("ISP", "CurrencyDisplay", 0), 1);
    QCOMPARE(config.readString("ISP", "CurrencyDisplayA"), "Lt");
    QCOMPARE(config.readString("ISP", "CurrencyDisplayZ"), "ct");
    QCOMPARE(config.readString("ISP", "CurrencyCustomAA"), "НАСТРАИВАЕМАЯX");
    QCOMPARE(config.readInt("ISP", "AccountDisplay", 0), 1);
    QCOMPARE(config.readInt("ISP", "AccountPersonal", 1), 0);
    QCOMPARE(config.readInt("ISP", "AccountProvider1", 0), 1);
    QCOMPARE(config.readInt("ISP", "AccountProvider2", 1), 0);
    const IniFile accounts(f.dir.files().accounts());
    QCOMPARE(accounts.readString("Olm:TK", "Account1"), "-1,5");
    QCOMPARE(accounts.readString("Olm:TK", "Account2"), "12,5");
  }

  // The data limit: off by default with its controls shut; on, they open (the share only with
  // its warning), a size that is not a number gives way to the stored one, and ПРИМЕНИТЬ
  // stores the chosen limit.
  void dataLimitLoadEnableApply() {
    DialogFixture f({"ISP"});
    f.dir.writeConfig("[Olm:TK]\nEntry=1\n[ISP]\nDone=1\nLimitSize=25\nLimitWarn=0\n");
    f.dialog->showOnPage(PageId::Cur);
    auto* on = f.find<QCheckBox>("o_limit");
    auto* size = f.find<QLineEdit>("e_limit");
    auto* share = f.find<QLineEdit>("e_limit_share");
    QVERIFY(!on->isChecked());
    QCOMPARE(size->text(), QString("25"));
    QCOMPARE(f.find<QComboBox>("o_limit_unit")->currentText(), QString("ГБ"));
    QCOMPARE(f.find<QComboBox>("o_limit_span")->currentText(), QString("В  МЕСЯЦ"));
    QCOMPARE(share->text(), QString("80"));
    for (const char* name : {"e_limit", "o_limit_unit", "o_limit_span", "o_limit_count",
                             "o_limit_warn", "e_limit_share", "o_limit_hangup"})
      QVERIFY2(!f.find<QWidget>(name)->isEnabled(), name);

    on->setChecked(true);
    QVERIFY(size->isEnabled());
    QVERIFY(f.find<QCheckBox>("o_limit_hangup")->isEnabled());
    QVERIFY(!share->isEnabled());
    f.find<QCheckBox>("o_limit_warn")->setChecked(true);
    QVERIFY(share->isEnabled());
    size->setText("abc");
    QCOMPARE(size->text(), QString("25"));
    size->setText("500");
    f.find<QComboBox>("o_limit_unit")->setCurrentIndex(0);
    f.find<QComboBox>("o_limit_span")->setCurrentIndex(0);
    f.find<QComboBox>("o_limit_count")->setCurrentIndex(1);
    f.find<QCheckBox>("o_limit_hangup")->setChecked(true);
    f.find<QPushButton>("b_apply")->click();
    const IniFile config = f.config();
    QCOMPARE(config.readInt("ISP", "LimitUse", 0), 1);
    QCOMPARE(config.readInt("ISP", "LimitSize", 0), 500);
    QCOMPARE(config.readInt("ISP", "LimitUnit", -1), 0);
    QCOMPARE(config.readInt("ISP", "LimitSpan", -1), 0);
    QCOMPARE(config.readInt("ISP", "LimitCount", -1), 1);
    QCOMPARE(config.readInt("ISP", "LimitWarn", 0), 1);
    QCOMPARE(config.readInt("ISP", "LimitShare", 0), 80);
    QCOMPARE(config.readInt("ISP", "LimitHangUp", 0), 1);
  }

  // Switching entries: the currency of each entry comes with it, Yes saves the previous
  // entry's currency first, No drops it; a copy brings the source's currency along.
  void entrySwitchAndCopy() {
    DialogFixture f({"ISP", "Work"});
    f.dir.writeConfig(
        "[Olm:TK]\nEntry=1\n[ISP]\nDone=1\nCurrencyIndex=1\n[Work]\nDone=1\nCurrencyIndex=2\n"
        "CurrencyCustomAA=ЛАТЫ\nCurrencyCustomAZ=Ls\n");
    f.dialog->showOnPage(PageId::Cur);
    auto* entry = f.find<QComboBox>("o_entry");
    auto* currency = f.find<QComboBox>("o_cur");
    currency->setCurrentIndex(0);
    f.boxes.answerNext(QMessageBox::No);
    entry->setCurrentIndex(2);
    QCOMPARE(currency->currentText(), QString("ЛАТЫ"));
    QCOMPARE(f.find<QComboBox>("o_cur_show")->itemText(1), QString("(Ls)   ЛАТЫ"));
    QCOMPARE(f.config().readInt("ISP", "CurrencyIndex", 0), 1);
    currency->setCurrentIndex(1);
    f.boxes.answerNext(QMessageBox::Yes);
    entry->setCurrentIndex(1);
    QCOMPARE(f.boxes.texts().value(1),
             QString("Настройки учётной записи «Work» не были сохранены.\nСохранить их сейчас?"));
    QCOMPARE(f.config().readInt("Work", "CurrencyIndex", 0), 1);
    QCOMPARE(f.config().readString("Work", "CurrencyDisplayA"), "p");
    QCOMPARE(currency->currentText(), QString("РУБЛИ"));
    QCOMPARE(currency->itemText(2), QString("НАСТРАИВАЕМАЯ"));

    // Copying "Work" into "ISP" takes its roubles along and leaves "ISP" saved.
    f.find<QComboBox>("o_entry_src")->setCurrentIndex(2);
    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_copy")->click();
    QCOMPARE(f.config().readInt("ISP", "CurrencyIndex", 0), 1);
    QCOMPARE(f.config().readString("ISP", "CurrencyCustomAA"), "ЛАТЫ");
    QCOMPARE(static_cast<TabCur*>(f.dialog->page(PageId::Cur))->currency().sign, "p");
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabCurTest)
#include "tab_cur_test.moc"
