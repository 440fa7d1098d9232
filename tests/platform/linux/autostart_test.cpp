#include <pwd.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/autostart_xdg.h"

using tarvik::AutostartScope;
using tarvik::XdgAutostart;
namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeText(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

// The Exec line of an entry, as a desktop would run it: the string escapes undone, then the
// quoted argument unquoted.
std::vector<std::string> execWords(const std::string& entry) {
  std::string exec;
  std::istringstream lines(entry);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
  std::string unescaped;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    if (exec[i] == '\\' && i + 1 < exec.size()) {
      const char next = exec[++i];
      unescaped += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
    } else if (exec[i] == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
      unescaped += exec[i++];
    } else {
      unescaped += exec[i];
    }
  }
  std::vector<std::string> words(1);
  bool quoted = false;
  for (std::size_t i = 0; i < unescaped.size(); ++i) {
    const char c = unescaped[i];
    if (quoted && c == '\\' && i + 1 < unescaped.size()) {
      words.back() += unescaped[++i];
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      words.emplace_back();
    } else {
      words.back() += c;
    }
  }
  return words;
}

}  // namespace

class AutostartTest : public QObject {
  Q_OBJECT
 private slots:
  void writeReadAndDeleteInBothScopes() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    XdgAutostart autostart(root / "home/.config/autostart", root / "etc/xdg/autostart",
                           "/home/u/.local/share/Tarvik/tarvik");
    for (AutostartScope scope : {AutostartScope::CurrentUser, AutostartScope::AllUsers}) {
      QCOMPARE(autostart.registered(scope), std::optional<bool>(false));
      QVERIFY(autostart.writable(scope));  // missing folders are created on writing
      QVERIFY(autostart.enable(scope));
      QCOMPARE(autostart.registered(scope), std::optional<bool>(true));
      const std::string entry = readText(autostart.entryFile(scope));
      QVERIFY(entry.rfind("[Desktop Entry]\n", 0) == 0);
      QVERIFY(entry.find("\nType=Application\n") != std::string::npos);
      QVERIFY(entry.find("\nExec=\"/home/u/.local/share/Tarvik/tarvik\" /auto\n") !=
              std::string::npos);
      QVERIFY(autostart.disable(scope));
      QCOMPARE(autostart.registered(scope), std::optional<bool>(false));
      QVERIFY(autostart.disable(scope));  // nothing to delete is no failure
    }
    QCOMPARE(autostart.entryFile(AutostartScope::AllUsers),
             root / "etc/xdg/autostart/Tarvik.desktop");
    QCOMPARE(autostart.entryFile(AutostartScope::CurrentUser),
             root / "home/.config/autostart/Tarvik.desktop");
  }

  void theScopesAreIndependent() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    XdgAutostart autostart(root / "user", root / "system", "/usr/bin/tarvik");
    QVERIFY(autostart.enable(AutostartScope::AllUsers));
    QCOMPARE(autostart.registered(AutostartScope::CurrentUser), std::optional<bool>(false));
    QVERIFY(autostart.enable(AutostartScope::CurrentUser));
    QVERIFY(autostart.disable(AutostartScope::CurrentUser));
    QCOMPARE(autostart.registered(AutostartScope::AllUsers), std::optional<bool>(true));
  }

  void reRegisteringFollowsAMovedProgram() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    XdgAutostart before(root / "user", root / "system", "/old/place/tarvik");
    QVERIFY(before.enable(AutostartScope::CurrentUser));
    XdgAutostart after(root / "user", root / "system", "/new/place/tarvik");
    QVERIFY(after.enable(AutostartScope::CurrentUser));
    const auto words = execWords(readText(after.entryFile(AutostartScope::CurrentUser)));
    QCOMPARE(words, (std::vector<std::string>{"/new/place/tarvik", "/auto"}));
    QVERIFY(!fs::exists(root / "user/Tarvik.desktop.new"));
  }

  void awkwardProgramPathsSurviveTheExecQuoting() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    for (const std::string path :
         {"/home/u/My Programs/tarvik", "/home/u/$HOME/`id`/tarvik", "/home/u/a\"b\\c/tarvik",
          "/home/u/100%/tarvik", "/home/u/Мои программы/tarvik"}) {
      XdgAutostart autostart(root / "user", root / "system", path);
      QVERIFY(autostart.enable(AutostartScope::CurrentUser));
      const auto words = execWords(readText(autostart.entryFile(AutostartScope::CurrentUser)));
      QCOMPARE(words, (std::vector<std::string>{path, "/auto"}));
    }
  }

  void entriesSwitchedOffByTheDesktopDoNotCount() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    XdgAutostart autostart(root / "user", root / "system", "/usr/bin/tarvik");
    writeText(root / "user/Tarvik.desktop", "[Desktop Entry]\nExec=tarvik /auto\nHidden=true\n");
    QCOMPARE(autostart.registered(AutostartScope::CurrentUser), std::optional<bool>(false));
    writeText(root / "system/Tarvik.desktop",
              "[Desktop Entry]\r\nExec=tarvik /auto\r\nX-GNOME-Autostart-enabled=false\r\n");
    QCOMPARE(autostart.registered(AutostartScope::AllUsers), std::optional<bool>(false));
  }

  // A scope whose folder cannot be made: writing and deleting fail, the scope reports itself
  // as not writable, and the other scope is untouched.
  void aScopeThatCannotBeWrittenIsDenied() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    writeText(root / "etc/xdg", "a file where the folder should be");
    XdgAutostart autostart(root / "user", root / "etc/xdg/autostart", "/usr/bin/tarvik");
    QVERIFY(autostart.enable(AutostartScope::CurrentUser));
    QVERIFY(!autostart.writable(AutostartScope::AllUsers));
    QVERIFY(!autostart.enable(AutostartScope::AllUsers));
    QCOMPARE(autostart.registered(AutostartScope::AllUsers), std::optional<bool>(false));
    QVERIFY(autostart.writable(AutostartScope::CurrentUser));
    QCOMPARE(autostart.registered(AutostartScope::CurrentUser), std::optional<bool>(true));
  }

  void aFolderWithoutWritePermissionIsDenied() {
    if (geteuid() == 0) QSKIP("permissions do not bind root");
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    XdgAutostart autostart(root / "user", root / "system", "/usr/bin/tarvik");
    QVERIFY(autostart.enable(AutostartScope::AllUsers));
    fs::permissions(root / "system", fs::perms::owner_read | fs::perms::owner_exec);
    QVERIFY(!autostart.writable(AutostartScope::AllUsers));
    QVERIFY(!autostart.enable(AutostartScope::AllUsers));
    QVERIFY(!autostart.disable(AutostartScope::AllUsers));
    QCOMPARE(autostart.registered(AutostartScope::AllUsers), std::optional<bool>(true));
    fs::permissions(root / "system", fs::perms::owner_all);
  }

  void anUnreadableEntryIsReportedAsSuch() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    fs::create_directories(root / "user/Tarvik.desktop");  // not a file
    XdgAutostart autostart(root / "user", root / "system", "/usr/bin/tarvik");
    QCOMPARE(autostart.registered(AutostartScope::CurrentUser), std::nullopt);
  }

  void theUserFolderFollowsXdgConfigHome() {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    QCOMPARE(XdgAutostart::defaultUserDir(), fs::path("/tmp/cfg/autostart"));
    qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
    QCOMPARE(XdgAutostart::defaultUserDir(),
             fs::path(qgetenv("HOME").toStdString()) / ".config/autostart");
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(XdgAutostart::defaultUserDir(),
             fs::path(qgetenv("HOME").toStdString()) / ".config/autostart");
    if (!saved.isNull()) qputenv("XDG_CONFIG_HOME", saved);
  }

  // Without a usable HOME the entry must not land below whatever the current folder is.
  void withoutHomeTheUserFolderComesFromTheAccount() {
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    const passwd* account = ::getpwuid(::getuid());
    QVERIFY(account && account->pw_dir);
    const fs::path expected = fs::path(account->pw_dir) / ".config/autostart";
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    const fs::path unset = XdgAutostart::defaultUserDir();
    qputenv("HOME", "relative");
    const fs::path relative = XdgAutostart::defaultUserDir();
    qputenv("HOME", savedHome);
    if (!savedConfig.isNull()) qputenv("XDG_CONFIG_HOME", savedConfig);
    QCOMPARE(unset, expected);
    QCOMPARE(relative, expected);
  }
};

QTEST_MAIN(AutostartTest)
#include "autostart_test.moc"
