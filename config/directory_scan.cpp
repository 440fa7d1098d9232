#include "config/directory_scan.h"

namespace tarvik {

bool scanDirectory(const std::filesystem::path& dir,
                   const std::function<bool(const std::filesystem::directory_entry&)>& visit) {
  std::error_code error;
  std::filesystem::directory_iterator it(dir, error);
  if (error) return false;
  // No range-for: its increment throws, increment(error) reports instead.
  for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
    if (!visit(*it)) return true;
  }
  return !error;
}

}  // namespace tarvik
