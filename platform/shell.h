#pragma once

#include <filesystem>
#include <string>

namespace tarvik {

// How a request to the desktop ended. The failures are the ones the program explains to the
// user differently: nothing can open that kind of file, the file is not there, anything else.
enum class ShellStatus { Done, NoAssociation, FileNotFound, Failed };

struct ShellResult {
  ShellStatus status = ShellStatus::Failed;
  // The helper program's own result number, shown in "Error code N" lines.
  int code = 0;

  bool ok() const { return status == ShellStatus::Done; }
};

// The desktop services the program uses: opening files and addresses with the programs the
// user has chosen for them, printing, and viewing the event log.
class Shell {
 public:
  virtual ~Shell() = default;

  // Opens a file, a web address or a "mailto:" address.
  virtual ShellResult open(const std::string& target) = 0;
  // Sends a text file (code page 1251) to the default printer.
  virtual ShellResult print(const std::filesystem::path& file) = 0;
  // Shows a text file (code page 1251) read-only; false when it cannot be shown.
  virtual bool viewText(const std::filesystem::path& file) = 0;
};

}  // namespace tarvik
