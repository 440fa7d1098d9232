#pragma once

#include "platform/ras_service.h"

namespace tarvik {

// Remote access on a system where no backend could be reached: nothing is ever connected.
class UnavailableRasService final : public RasService {
 public:
  bool available() override { return false; }
  std::vector<RasConnection> activeConnections() override { return {}; }
  std::optional<std::int32_t> connectionState(std::uint64_t) override { return std::nullopt; }
  void hangUp(std::uint64_t) override {}
  std::optional<std::vector<std::string>> phonebookEntries() override { return std::nullopt; }
};

}  // namespace tarvik
