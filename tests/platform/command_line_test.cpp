#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLineTest, NothingToRun) {
  EXPECT_EQ(splitCommandLine(""), Words{});
  EXPECT_EQ(splitCommandLine("  \t "), Words{});
}

TEST(CommandLineTest, BlanksAndTabsSeparateWords) {
  EXPECT_EQ(splitCommandLine("prog"), (Words{"prog"}));
  EXPECT_EQ(splitCommandLine("  prog  a\tb   c  "), (Words{"prog", "a", "b", "c"}));
  EXPECT_EQ(splitCommandLine("prog\t\t/x"), (Words{"prog", "/x"}));
}

TEST(CommandLineTest, TheProgramNameKnowsOnlyQuotesAndBlanks) {
  EXPECT_EQ(splitCommandLine(R"("/opt/My Apps/dialer" /x)"), (Words{"/opt/My Apps/dialer", "/x"}));
  // Backslashes are path separators there, even right before the closing quote.
  EXPECT_EQ(splitCommandLine(R"("C:\Program Files\app.exe" -v)"),
            (Words{R"(C:\Program Files\app.exe)", "-v"}));
  EXPECT_EQ(splitCommandLine(R"("C:\dir\" arg)"), (Words{R"(C:\dir\)", "arg"}));
  // The closing quote ends the name; what follows at once is the next word.
  EXPECT_EQ(splitCommandLine(R"("a b"c d)"), (Words{"a b", "c", "d"}));
  // Unquoted, a quote inside the name is an ordinary character.
  EXPECT_EQ(splitCommandLine(R"(pro"g x y)"), (Words{"pro\"g", "x", "y"}));
  // An unclosed quote takes the rest of the line.
  EXPECT_EQ(splitCommandLine(R"("/opt/my app -x)"), (Words{"/opt/my app -x"}));
}

TEST(CommandLineTest, QuotedArguments) {
  EXPECT_EQ(splitCommandLine(R"(prog "abc" d e)"), (Words{"prog", "abc", "d", "e"}));
  EXPECT_EQ(splitCommandLine(R"(prog "a b"  "c	d")"), (Words{"prog", "a b", "c\td"}));
  EXPECT_EQ(splitCommandLine(R"(prog d"e f"g h)"), (Words{"prog", "de fg", "h"}));
  EXPECT_EQ(splitCommandLine(R"(prog "open end)"), (Words{"prog", "open end"}));
  EXPECT_EQ(splitCommandLine(R"(prog "" x "")"), (Words{"prog", "", "x", ""}));
}

TEST(CommandLineTest, BackslashesBeforeQuotes) {
  // Backslashes not followed by a quote are literal.
  EXPECT_EQ(splitCommandLine(R"(prog a\\\b c\)"), (Words{"prog", R"(a\\\b)", R"(c\)"}));
  // An odd number: half of them and a literal quote.
  EXPECT_EQ(splitCommandLine(R"(prog a\\\"b c d)"), (Words{"prog", R"(a\"b)", "c", "d"}));
  EXPECT_EQ(splitCommandLine(R"(prog \"x\")"), (Words{"prog", R"("x")"}));
  // An even number: half of them, and the quote opens or closes.
  EXPECT_EQ(splitCommandLine(R"(prog a\\\\"b c" d e)"), (Words{"prog", R"(a\\b c)", "d", "e"}));
  EXPECT_EQ(splitCommandLine(R"(prog "C:\dir\\" next)"), (Words{"prog", R"(C:\dir\)", "next"}));
}

TEST(CommandLineTest, RunsOfQuotes) {
  // Inside a quoted part "" is a literal quote and ends the part.
  EXPECT_EQ(splitCommandLine(R"(prog a"b"" c d)"), (Words{"prog", "ab\"", "c", "d"}));
  EXPECT_EQ(splitCommandLine(R"(prog "a""b c")"), (Words{"prog", "a\"b", "c"}));
  // Outside, three quotes are one literal quote.
  EXPECT_EQ(splitCommandLine(R"(prog """ x)"), (Words{"prog", "\"", "x"}));
  EXPECT_EQ(splitCommandLine(R"(prog """x y""")"), (Words{"prog", "\"x", "y\""}));
  // Four quotes: a literal quote, then an open quoted part.
  EXPECT_EQ(splitCommandLine(R"(prog """" a b)"), (Words{"prog", "\" a b"}));
}

TEST(CommandLineTest, ShellCharactersAreOrdinaryText) {
  EXPECT_EQ(splitCommandLine("prog $HOME; rm -rf *|x `id` >out"),
            (Words{"prog", "$HOME;", "rm", "-rf", "*|x", "`id`", ">out"}));
}

TEST(CommandLineTest, TextOutsideAsciiPassesThrough) {
  EXPECT_EQ(splitCommandLine("\"/home/u/Мои программы/звонок\" \"Мой файл.txt\""),
            (Words{"/home/u/Мои программы/звонок", "Мой файл.txt"}));
}

}  // namespace
}  // namespace tarvik
