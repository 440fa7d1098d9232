#pragma once

#include <string>
#include <vector>

#include "platform/process.h"
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

}  // namespace tarvik::test
