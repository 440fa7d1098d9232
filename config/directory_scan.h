#pragma once

#include <filesystem>
#include <functional>

namespace tarvik {

// Calls `visit` for each entry of `dir` ("." and ".." left out) until it returns false.
// Folders such as /proc, /proc/<pid>, /run and /sys/class/net lose entries while they are
// read, and reading a /proc/<pid> folder fails outright once that process is gone; the
// standard iterator throws then, which would end the program in the middle of a poll. This
// scan never throws: it returns false when the folder cannot be opened or its reading failed
// part-way (the entries visited so far stay visited), true otherwise.
bool scanDirectory(const std::filesystem::path& dir,
                   const std::function<bool(const std::filesystem::directory_entry&)>& visit);

}  // namespace tarvik
