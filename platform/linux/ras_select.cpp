#include "platform/linux/ras_select.h"

#include <QDBusServiceWatcher>

#include "config/file_watch.h"
#include "platform/event_log.h"
#include "platform/linux/nm_ras_service.h"

namespace tarvik {

namespace {

// Whether NetworkManager owns its name, and how often it took it anew, kept by the bus's
// NameOwnerChanged signal: asked once at start, then only told. Both change in the event
// loop, between polls.
class NmPresence {
 public:
  explicit NmPresence(const QDBusConnection& bus)
      : watcher_(QStringLiteral("org.freedesktop.NetworkManager"), bus,
                 QDBusServiceWatcher::WatchForOwnerChange) {
    QObject::connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged,
                     [this](const QString&, const QString&, const QString& newOwner) {
                       present_ = !newOwner.isEmpty();
                       if (present_) ++starts_;
                     });
    present_ = NmRasService::answers(bus);
  }
  bool present() const { return present_; }
  std::uint64_t starts() const { return starts_; }

 private:
  QDBusServiceWatcher watcher_;
  bool present_ = false;
  std::uint64_t starts_ = 0;
};

}  // namespace

std::unique_ptr<RasSwitch> selectRasService(const ProgramFiles& files, EventLog& log,
                                            RasChoices choices) {
  const std::filesystem::path simFile = SimLine::fileIn(files.dir);
  auto nm = std::make_shared<NmPresence>(choices.bus);
  const PppdRoots pppdRoots = choices.pppdRoots;
  std::vector<RasCandidate> candidates;
  candidates.push_back(
      {"simulated line",
       // Asked at every poll: the file system is looked at only after a change notice.
       [simFile, exists = std::make_shared<WatchedExistence>()] { return exists->exists(simFile); },
       [simFile, now = choices.simLineNow] { return std::make_unique<SimLine>(simFile, now); },
       {}});
  candidates.push_back({"NetworkManager", [nm] { return nm->present(); },
                        [bus = choices.bus] { return std::make_unique<NmRasService>(bus); },
                        [nm] { return nm->starts(); }});
  candidates.push_back({"pppd",
                        [peers = pppdRoots.etcPpp / "peers"] {
                          std::error_code ec;
                          return std::filesystem::is_directory(peers, ec);
                        },
                        [pppdRoots] { return std::make_unique<PppdRasService>(pppdRoots); },
                        {}});
  return std::make_unique<RasSwitch>(std::move(candidates), log);
}

}  // namespace tarvik
