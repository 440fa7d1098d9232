#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/file_watch.h"
#include "platform/ras_service.h"

namespace tarvik {

// One call on the simulated line. Its state is not stored but follows from the clock: the
// first half of the authentication time is RAS state 5, the second half 10, then 8192; a
// failing call disappears when the authentication time is over.
struct SimCall {
  std::uint64_t handle = 0;
  std::string entry;
  std::string device;
  std::int64_t dialledMs = 0;  // epoch milliseconds of the time source
  std::int64_t authMs = 0;
  bool fails = false;
  // Bytes a second the call receives; it sends a tenth of that. 0: a silent line.
  std::int64_t rate = 0;

  // The RAS state at `nowMs`, or nullopt once a failing call has ended.
  std::optional<std::int32_t> stateAt(std::int64_t nowMs) const;
  // The interface counters at `nowMs`: the rate's bytes for every millisecond since dialling.
  TrafficBytes countersAt(std::int64_t nowMs) const;
};

// A remote-access service for tests and demonstrations whose phonebook and calls live in a
// small INI file in the program directory, so that another process (tarvik-line) can dial
// and hang up while the program watches. Every change rewrites the file atomically, under a
// lock that the program and the tool share (the file name + ".lock").
class SimLine final : public RasService {
 public:
  using NowMs = std::function<std::int64_t()>;

  static constexpr const char* kFileName = "simline.ini";
  static constexpr const char* kDefaultDevice = "Simulated modem";

  static std::filesystem::path fileIn(const std::filesystem::path& programDir) {
    return programDir / kFileName;
  }
  // Milliseconds since the epoch by the system clock: what the tool and the program share.
  static std::int64_t systemNowMs();

  SimLine(std::filesystem::path file, NowMs nowMs);

  // The service is there as long as its file is.
  bool available() override;
  std::vector<RasConnection> activeConnections() override;
  std::optional<std::int32_t> connectionState(std::uint64_t handle) override;
  void hangUp(std::uint64_t handle) override;
  std::optional<std::vector<std::string>> phonebookEntries() override;
  std::optional<TrafficBytes> trafficCounters(std::uint64_t handle) override;

  // Control side (tarvik-line and tests). Writers throw IniWriteError when the file cannot
  // be replaced.
  std::vector<std::string> entries() const;
  void addEntry(const std::string& entry);
  // Replaces every call by a new one dialled now; returns its handle.
  std::uint64_t dial(const std::string& entry, const std::string& device, std::int64_t authMs,
                     bool fails, std::int64_t rate = 0);
  // Adds a call that is connected at once beside the existing ones.
  std::uint64_t addCall(const std::string& entry, const std::string& device);
  void hangUpAll();
  // Every stored call, including failed ones that have ended.
  std::vector<SimCall> calls() const;
  // The calls still on the line now, in dialling order.
  std::vector<SimCall> liveCalls() const;

  const std::filesystem::path& file() const { return file_; }

 private:
  void writeCalls(const std::vector<SimCall>& calls, std::uint64_t nextHandle);
  std::uint64_t nextHandle() const;

  std::filesystem::path file_;
  NowMs nowMs_;
  WatchedExistence exists_;
};

}  // namespace tarvik
