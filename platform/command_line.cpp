#include "platform/command_line.h"

namespace tarvik {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && isBlank(line[i])) ++i;
  if (i == n) return words;

  // The program name: no escapes, only quotes or blanks end it.
  std::string program;
  if (line[i] == '"') {
    ++i;
    while (i < n && line[i] != '"') program += line[i++];
    if (i < n) ++i;  // the closing quote
  } else {
    while (i < n && !isBlank(line[i])) program += line[i++];
  }
  words.push_back(std::move(program));

  while (i < n && isBlank(line[i])) ++i;
  if (i == n) return words;

  std::string word;
  int quotes = 0;       // 1 inside a quoted part
  int backslashes = 0;  // backslashes just before the current character
  while (i < n) {
    const char c = line[i];
    if (isBlank(c) && quotes == 0) {
      words.push_back(std::move(word));
      word.clear();
      backslashes = 0;
      while (i < n && isBlank(line[i])) ++i;
      if (i == n) return words;  // trailing blanks start no word
      continue;
    }
    if (c == '\\') {
      word += c;
      ++backslashes;
      ++i;
      continue;
    }
    if (c != '"') {
      word += c;
      backslashes = 0;
      ++i;
      continue;
    }
    // A double quote: the backslashes before it are halved.
    word.resize(word.size() - backslashes / 2);
    if (backslashes % 2 == 1) {
      word.back() = '"';  // the odd backslash escapes the quote
    } else {
      ++quotes;
    }
    backslashes = 0;
    ++i;
    // The quotes that follow: every third of the run is literal.
    while (i < n && line[i] == '"') {
      if (++quotes == 3) {
        word += '"';
        quotes = 0;
      }
      ++i;
    }
    if (quotes == 2) quotes = 0;
  }
  words.push_back(std::move(word));
  return words;
}

}  // namespace tarvik
