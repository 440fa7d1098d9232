#include "settings/program_lines.h"

namespace tarvik {

std::vector<std::string> splitProgramLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string joinProgramLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  return text;
}

std::string addProgramLine(std::string_view text, std::string_view programPath) {
  std::string result(text);
  if (!result.empty() && result.back() != '\n') result += '\n';
  return result + std::string(programPath) + '\n';
}

}  // namespace tarvik
