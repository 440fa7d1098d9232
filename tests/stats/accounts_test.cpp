#include "stats/accounts.h"

#include "config/entry_section.h"
#include "stats/stats_fixture.h"

namespace tarvik {
namespace {

class AccountsTest : public test::StatsFixture {
 protected:
  Accounts accounts{dir.files(), comma, log};
};

struct ChoiceCase {
  const char* config;
  int kind;
};

// Each case: the settings, the account chosen for the entry and its balance; what is booked at
// the disconnect goes to that very account and to the entry's own, and is read back next time.
TEST_F(AccountsTest, TheFirstRuleThatAppliesChoosesTheAccountThatIsBookedAtDisconnect) {
  const ChoiceCase cases[] = {
      {"", kAccountDefault},
      // Rule 1 comes before the single account.
      {"[Olm:TK]\nAccountOne=1\n", kAccountDefault},
      {"[Olm:TK]\nAccountOne=1\n[Inet]\nDone=1\n", kAccountSingle},
      {"[Olm:TK]\nDefaultAcc=0\nAccountOne=1\n", kAccountSingle},
      {"[Inet]\nDone=1\nAccountProvider1=1\nAccountProvider2=1\n", kAccountGroup1},
      {"[Inet]\nDone=1\nAccountProvider2=1\nAccountProvider3=1\n", kAccountGroup2},
      {"[Inet]\nDone=1\nAccountProvider3=1\n", kAccountGroup3},
      {"[Inet]\nDone=1\nAccountPersonal=0\n", kAccountIndividual},
      // Without own settings and without rule 1 the group switches still come from the
      // entry's own section.
      {"[Olm:TK]\nDefaultAcc=0\n[Inet]\nAccountProvider2=1\n", kAccountGroup2},
      {"[Olm:TK]\nDefaultAcc=0\n", kAccountIndividual},
  };
  const float balances[] = {0.5f, 1, 2, 3, 4, 5};
  const char* const booked[] = {"0", "0,5", "1,5", "2,5", "3,5", "4,5"};
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.config);
    dir.writeConfig(c.config);
    dir.writeAccounts(
        "[Olm:TK]\nAccount=2\nAccount1=3\nAccount2=4\nAccount3=5\n[Default]\nAccount=1\n"
        "[Inet]\nAccount=0.5\n");
    const ChosenAccount chosen = accounts.chooseAccount("Inet");
    ASSERT_EQ(chosen.kind, c.kind);
    EXPECT_EQ(chosen.balance, balances[c.kind]);
    EXPECT_TRUE(chosen.numeric);
    accounts.bookBalance("Inet", chosen.kind, chosen.balance - 0.5f);
    const AccountKey where = accountKey("Inet", chosen.kind);
    EXPECT_EQ(account(where.section.name(), where.key.name), booked[c.kind]);
    EXPECT_EQ(account("Inet", "Account"), booked[c.kind]);
    EXPECT_EQ(accounts.chooseAccount("Inet").balance, balances[c.kind] - 0.5f);
  }
}

// Either decimal separator reads; a missing balance is 0; a text that is not a number, or a
// number beyond single precision, is metered from 0 with a log line and never written over.
TEST_F(AccountsTest, BalancesReadWithEitherSeparatorAndAnythingElseIsMeteredFromZeroUntouched) {
  dir.writeConfig("[Olm:TK]\nDefaultAcc=0\n[A]\nDone=1\n[B]\nDone=1\n");
  dir.writeAccounts("[A]\nAccount=12.75\n[B]\nAccount=-3,5\n");
  EXPECT_EQ(accounts.chooseAccount("A").balance, 12.75f);
  EXPECT_EQ(accounts.chooseAccount("B").balance, -3.5f);
  EXPECT_EQ(accounts.chooseAccount("C").balance, 0.0f);
  EXPECT_EQ(logText(), "");

  dir.writeConfig("");
  dir.writeAccounts("[Default]\nAccount=12 руб.\n");
  ChosenAccount chosen = accounts.chooseAccount("Inet");
  EXPECT_EQ(chosen.kind, kAccountDefault);
  EXPECT_FALSE(chosen.numeric);
  EXPECT_EQ(chosen.balance, 0.0f);
  EXPECT_EQ(logText(),
            " Account value «12 руб.» ([Default] Account) is not a number; metered from 0.\r\n");

  dir.writeAccounts("[Default]\nAccount=1e39\n");
  chosen = accounts.chooseAccount("Default");
  EXPECT_FALSE(chosen.numeric);
  EXPECT_EQ(chosen.balance, 0);
  EXPECT_FALSE(accounts.bookBalance("Default", chosen.kind, -0.07f).booked);
  EXPECT_FALSE(accounts.creditEntry("Default", 7));
  EXPECT_EQ(account("Default", "Account"), "1e39");
}

TEST_F(AccountsTest, BookBalanceWritesTheKindAndTheEntrysOwnAccount) {
  for (int kind = kAccountIndividual; kind <= kAccountGroup3; ++kind) {
    SCOPED_TRACE(kind);
    dir.writeAccounts(
        "[Olm:TK]\nAccount=2\nAccount1=3\nAccount2=4\nAccount3=5\n[Default]\nAccount=1\n"
        "[Inet]\nAccount=0\n");
    BookedBalance booked = accounts.bookBalance("Inet", kind, 99.75f);
    EXPECT_TRUE(booked.booked);
    EXPECT_EQ(booked.entryAccountText, "99,75");
    AccountKey where = accountKey("Inet", kind);
    EXPECT_EQ(account(where.section.name(), where.key.name), "99,75");
    EXPECT_EQ(account("Inet", "Account"), "99,75");
    // Every other account keeps its value.
    const char* keys[] = {"Account", "Account1", "Account2", "Account3"};
    for (int other = kAccountSingle; other <= kAccountGroup3; ++other) {
      if (other != kind) {
        EXPECT_EQ(account("Olm:TK", keys[other - kAccountSingle]), std::to_string(other));
      }
    }
    if (kind != kAccountDefault) {
      EXPECT_EQ(account("Default", "Account"), "1");
    }
  }
}

TEST_F(AccountsTest, BookBalanceWritesTheFloatWithoutItsNoiseButNeverOverAStoredText) {
  accounts.bookBalance("Inet", kAccountIndividual, 0.1f);
  EXPECT_EQ(account("Inet", "Account"), "0,1");
  accounts.bookBalance("Inet", kAccountIndividual, -1.5f);
  EXPECT_EQ(account("Inet", "Account"), "-1,5");

  dir.writeAccounts("[Olm:TK]\nAccount2=about 40\n[Inet]\nAccount=7\n");
  const BookedBalance booked = accounts.bookBalance("Inet", kAccountGroup2, -0.25f);
  EXPECT_FALSE(booked.booked);
  EXPECT_EQ(booked.entryAccountText, "7");
  EXPECT_EQ(account("Olm:TK", "Account2"), "about 40");
  EXPECT_EQ(account("Inet", "Account"), "7");
  EXPECT_EQ(logText(),
            " Account value «about 40» ([Olm:TK] Account2) is not a number; balance not "
            "saved.\r\n");
}

TEST_F(AccountsTest, CreditEntryAddsHundredthsToTheOwnAccountOnlyAndRefusesAText) {
  dir.writeAccounts("[Olm:TK]\nAccount1=5\n[Inet]\nAccount=10.5\n[Text]\nAccount=ten\n");
  EXPECT_TRUE(accounts.creditEntry("Inet", 250));
  EXPECT_EQ(account("Inet", "Account"), "13");
  EXPECT_TRUE(accounts.creditEntry("Inet", -400));
  EXPECT_EQ(account("Inet", "Account"), "9");
  EXPECT_TRUE(accounts.creditEntry("New", 12.5));
  EXPECT_EQ(account("New", "Account"), "0,125");
  EXPECT_EQ(account("Olm:TK", "Account1"), "5");
  EXPECT_EQ(logText(), "");

  EXPECT_FALSE(accounts.creditEntry("Text", 250));
  EXPECT_EQ(account("Text", "Account"), "ten");
  EXPECT_NE(logText().find("not credited with 250."), std::string::npos);
}

TEST_F(AccountsTest, OddEntryNamesKeepBalancesApart) {
  const std::string odd = "Olm:TK";
  accounts.bookBalance(odd, kAccountIndividual, 5);
  accounts.bookBalance("a]b", kAccountIndividual, 6);
  EXPECT_EQ(account("Olm:TK", "Account"), "<missing>");
  EXPECT_EQ(account(sectionForEntry(odd), "Account"), "5");
  EXPECT_EQ(accounts.entryAccountText("a]b"), "6");
  EXPECT_EQ(accounts.entryAccountText("a"), "0");
}

}  // namespace
}  // namespace tarvik
