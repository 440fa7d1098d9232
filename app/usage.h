#pragma once

#include <optional>
#include <ostream>
#include <string_view>

namespace tarvik {

// What `tarvik --help` prints.
std::string_view usageText();

// "--help", "-h" and "--version" as the first argument are answered on `out` before anything
// else happens: no display is needed, no file is written and a running instance is left
// alone. Gives the exit status when the argument was one of them, nullopt for a start.
std::optional<int> answerInformationRequest(std::string_view firstArgument, std::ostream& out);

}  // namespace tarvik
