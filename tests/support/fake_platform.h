#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/ras_service.h"
#include "platform/sound.h"

namespace tarvik::test {

// Records tones and pauses as "880/100" and "wait 25"; `failAfter` makes the n-th tone fail.
class FakeTone : public ToneDevice {
 public:
  std::vector<std::string> played;
  int failAfter = -1;

  bool tone(int frequencyHz, int durationMs) override {
    if (failAfter == 0) return false;
    if (failAfter > 0) --failAfter;
    played.push_back(std::to_string(frequencyHz) + "/" + std::to_string(durationMs));
    return true;
  }
  void wait(int ms) override { played.push_back("wait " + std::to_string(ms)); }
};

class FakeSound : public SoundPlayer {
 public:
  std::vector<std::string> played;
  void play(const std::string& file) override { played.push_back(file); }
};

class FakeProcess : public ProcessLauncher {
 public:
  std::vector<std::string> launched;
  std::vector<std::string> instances;
  void run(const std::string& commandLine) override { launched.push_back(commandLine); }
  void startNewInstance(const std::string& programSwitch) override {
    instances.push_back(programSwitch);
  }
};

// A remote-access service whose connections the test sets directly.
class FakeRas : public RasService {
 public:
  struct Call {
    RasConnection connection;
    std::int32_t state;
  };
  std::vector<Call> calls;
  std::vector<std::string> phonebook;
  int hangUps = 0;
  // The interface counters of the current call; nullopt: the service cannot tell.
  std::optional<TrafficBytes> counters;

  bool available() override { return true; }
  std::vector<RasConnection> activeConnections() override {
    std::vector<RasConnection> out;
    for (const Call& c : calls) out.push_back(c.connection);
    return out;
  }
  std::optional<std::int32_t> connectionState(std::uint64_t handle) override {
    for (const Call& c : calls)
      if (c.connection.handle == handle) return c.state;
    return std::nullopt;
  }
  void hangUp(std::uint64_t) override {
    ++hangUps;
    calls.clear();
  }
  std::optional<std::vector<std::string>> phonebookEntries() override { return phonebook; }
  std::optional<TrafficBytes> trafficCounters(std::uint64_t handle) override {
    for (const Call& c : calls)
      if (c.connection.handle == handle) return counters;
    return std::nullopt;
  }

  // One call in `state` on `entry` (replacing any other).
  void dial(const std::string& entry, std::int32_t state, const std::string& device = "Modem") {
    calls = {{{nextHandle_++, entry, device}, state}};
  }
  void setState(std::int32_t state) { calls.at(0).state = state; }
  void addSecond(const std::string& entry) {
    calls.push_back({{nextHandle_++, entry, "Modem 2"}, kRasConnected});
  }
  void drop() { calls.clear(); }

 private:
  std::uint64_t nextHandle_ = 1;
};

}  // namespace tarvik::test
