#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

using Words = std::vector<std::string>;

// Each row: a command line and the words the program receives; a failure names the line.
TEST(CommandLineTest, SplitsBlanksQuotesAndBackslashesIntoTheWordsTheProgramReceives) {
  const std::pair<const char*, Words> rows[] = {
      // Nothing to run; blanks and tabs separate words.
      {"", {}},
      {"  \t ", {}},
      {"prog", {"prog"}},
      {"  prog  a\tb   c  ", {"prog", "a", "b", "c"}},
      {"prog\t\t/x", {"prog", "/x"}},
      // The program name knows only quotes and blanks: backslashes are path separators there,
      // even right before the closing quote, which ends the name; unquoted, a quote is an
      // ordinary character; an unclosed quote takes the rest of the line.
      {R"("/opt/My Apps/dialer" /x)", {"/opt/My Apps/dialer", "/x"}},
      {R"("C:\Program Files\app.exe" -v)", {R"(C:\Program Files\app.exe)", "-v"}},
      {R"("C:\dir\" arg)", {R"(C:\dir\)", "arg"}},
      {R"("a b"c d)", {"a b", "c", "d"}},
      {R"(pro"g x y)", {"pro\"g", "x", "y"}},
      {R"("/opt/my app -x)", {"/opt/my app -x"}},
      // Quoted arguments.
      {R"(prog "abc" d e)", {"prog", "abc", "d", "e"}},
      {R"(prog "a b"  "c	d")", {"prog", "a b", "c\td"}},
      {R"(prog d"e f"g h)", {"prog", "de fg", "h"}},
      {R"(prog "open end)", {"prog", "open end"}},
      {R"(prog "" x "")", {"prog", "", "x", ""}},
      // Backslashes not followed by a quote are literal; an odd run before a quote gives half
      // of them and a literal quote, an even run half of them and the quote opens or closes.
      {R"(prog a\\\b c\)", {"prog", R"(a\\\b)", R"(c\)"}},
      {R"(prog a\\\"b c d)", {"prog", R"(a\"b)", "c", "d"}},
      {R"(prog \"x\")", {"prog", R"("x")"}},
      {R"(prog a\\\\"b c" d e)", {"prog", R"(a\\b c)", "d", "e"}},
      {R"(prog "C:\dir\\" next)", {"prog", R"(C:\dir\)", "next"}},
      // Inside a quoted part "" is a literal quote and ends the part; outside, three quotes
      // are one literal quote, and four a literal quote, then an open quoted part.
      {R"(prog a"b"" c d)", {"prog", "ab\"", "c", "d"}},
      {R"(prog "a""b c")", {"prog", "a\"b", "c"}},
      {R"(prog """ x)", {"prog", "\"", "x"}},
      {R"(prog """x y""")", {"prog", "\"x", "y\""}},
      {R"(prog """" a b)", {"prog", "\" a b"}},
      // Shell characters are ordinary text; text outside ASCII passes through.
      {"prog $HOME; rm -rf *|x `id` >out", {"prog", "$HOME;", "rm", "-rf", "*|x", "`id`", ">out"}},
      {"\"/home/u/Мои программы/звонок\" \"Мой файл.txt\"",
       {"/home/u/Мои программы/звонок", "Мой файл.txt"}},
  };
  for (const auto& [line, words] : rows)
    EXPECT_EQ(splitCommandLine(line), words) << "line: [" << line << "]";
}

}  // namespace
}  // namespace tarvik
