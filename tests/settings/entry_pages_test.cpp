#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/entry_checks.h"
#include "settings/program_lines.h"

namespace tarvik {
namespace {

// What the seconds edits make of typed text: only whole numbers are kept, delays must be
// positive, free time must not be negative.
TEST(EntryChecksTest, SecondsEditsKeepOnlyUsableNumbers) {
  EXPECT_EQ(checkSeconds("600", false), SecondsFix::Keep);
  EXPECT_EQ(checkSeconds("+600", false), SecondsFix::Keep);
  EXPECT_EQ(checkSeconds("0", false), SecondsFix::One);
  EXPECT_EQ(checkSeconds("-3", false), SecondsFix::One);
  EXPECT_EQ(checkSeconds("0", true), SecondsFix::Keep);
  EXPECT_EQ(checkSeconds("-3", true), SecondsFix::Zero);
  for (const char* text : {"", "-", "+", "++1", "1 ", " 1", "1,5", "12x", "99999999999"})
    EXPECT_EQ(checkSeconds(text, true), SecondsFix::Restore) << text;
  EXPECT_EQ(parseWholeNumber("-2147483648"), -2147483648LL);

  // Only the first threshold that is not a number is put back in one round.
  const std::vector<std::string> thresholds{"1", "abc", "", "10"};
  EXPECT_EQ(firstNonNumber(thresholds), 1u);
  const std::vector<std::string> numbers{"1", "10", "-4", "10"};
  EXPECT_EQ(firstNonNumber(numbers), std::nullopt);
}

// The program list is counted as lines: every line ends with a break, empty lines count, a
// break at the very end starts no new line; adding a program keeps the lines before it.
TEST(EntryChecksTest, ProgramLinesRoundTrip) {
  const std::vector<std::string> lines{"/bin/a -x", "", "/bin/b"};
  EXPECT_EQ(joinProgramLines(lines), "/bin/a -x\n\n/bin/b\n");
  EXPECT_EQ(splitProgramLines(joinProgramLines(lines)), lines);
  EXPECT_EQ(splitProgramLines("/bin/a\r\n/bin/b"), (std::vector<std::string>{"/bin/a", "/bin/b"}));
  EXPECT_TRUE(splitProgramLines("").empty());
  EXPECT_EQ(splitProgramLines("\n"), std::vector<std::string>{""});
  EXPECT_EQ(addProgramLine("", "/bin/c"), "/bin/c\n");
  EXPECT_EQ(addProgramLine("/bin/a", "/bin/c"), "/bin/a\n/bin/c\n");
  EXPECT_EQ(addProgramLine("/bin/a\n", "/bin/c"), "/bin/a\n/bin/c\n");
}

}  // namespace
}  // namespace tarvik
