#include "platform/linux/ras_select.h"

#include "platform/event_log.h"
#include "platform/linux/nm_ras_service.h"

namespace tarvik {

namespace {

// No remote-access service on this system.
class MissingRasService final : public RasService {
 public:
  bool available() override { return false; }
  std::vector<RasConnection> activeConnections() override { return {}; }
  std::optional<std::int32_t> connectionState(std::uint64_t) override { return std::nullopt; }
  void hangUp(std::uint64_t) override {}
  std::optional<std::vector<std::string>> phonebookEntries() override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<RasService> selectRasService(const ProgramFiles& files, EventLog& log,
                                             RasChoices choices) {
  const std::filesystem::path simFile = SimLine::fileIn(files.dir);
  std::error_code ec;
  if (std::filesystem::exists(simFile, ec)) {
    log.append(" Remote access: simulated line.");
    return std::make_unique<SimLine>(simFile, std::move(choices.simLineNow));
  }
  if (NmRasService::answers(choices.bus)) {
    log.append(" Remote access: NetworkManager.");
    return std::make_unique<NmRasService>(choices.bus);
  }
  auto pppd = std::make_unique<PppdRasService>(choices.pppdRoots);
  if (pppd->available()) {
    log.append(" Remote access: pppd.");
    return pppd;
  }
  log.append(" Remote access: none found.");
  return std::make_unique<MissingRasService>();
}

}  // namespace tarvik
