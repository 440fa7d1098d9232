#include "app/usage.h"

#include "app/banner.h"

namespace tarvik {

std::string_view usageText() {
  return "Usage: tarvik [/auto | /reinitialize | /reboot]\n"
         "       tarvik --help | --version\n"
         "\n"
         "Tarvik meters the time and cost of network connections from the notification area.\n"
         "Without an argument it starts, unless it runs already in this session.\n"
         "\n"
         "  /auto          the start of the session's autostart entry: with the reinitialisation\n"
         "                 on, waits and starts again with /reinitialize\n"
         "  /reinitialize  the program's own restart after such a wait\n"
         "  /reboot        the program's own restart (tray menu \"Перезапуск\")\n"
         "  -h, --help     print this help and exit\n"
         "  --version      print the version and exit\n"
         "\n"
         "Settings, balances, statistics and logs live beside the executable. The installed\n"
         "tarvik starts a copy of the program kept in ~/.local/share/Tarvik (or\n"
         "$XDG_DATA_HOME/Tarvik), so that folder holds every file: TarvikC.Kfg (settings),\n"
         "TarvikA.Kfg (balances), TarvikS.Kfg (statistics), Tarvik.LOG (event log) and\n"
         "Velk.TxT (connections). The settings open from the tray icon: right-click, Настройки.\n"
         "tarvik-report prints them in a terminal, tarvik-line drives a simulated line.\n";
}

std::optional<int> answerInformationRequest(std::string_view firstArgument, std::ostream& out) {
  if (firstArgument == "--help" || firstArgument == "-h") {
    out << usageText();
  } else if (firstArgument == "--version") {
    out << "tarvik " << kVersion << '\n';
  } else {
    return std::nullopt;
  }
  out.flush();
  // A closed or full standard output is a failure the caller should see.
  return out ? 0 : 1;
}

}  // namespace tarvik
