#include "monitor/probe.h"

#include "config/entry_section.h"
#include "platform/event_log.h"

namespace tarvik {

namespace {

constexpr const char* kMissingService =
    " Failed loading RasApi32.DLL.\n"
    " Remote Access Server connection can not be visible for application.";
constexpr const char* kHangingUp = " Hanging up...";
constexpr const char* kEntriesFailed =
    " Failed enumerating entries.\n"
    " Default entry will be used only.";

bool isContinuationByte(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

}  // namespace

std::string cutToChars(const std::string& text, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isContinuationByte(static_cast<unsigned char>(text[i]))) continue;
    if (chars == maxChars) return text.substr(0, i);
    ++chars;
  }
  return text;
}

Probe::Probe(RasService& service, EventLog& log) : service_(service), log_(log) {}

void Probe::storeNothing() {
  handle_ = 0;
  traffic_.reset();
  rasState_ = 0;
  rasEntryName_.clear();
  deviceName_.clear();
  deviceCarriesTraffic_ = true;
}

bool Probe::probe(bool hangUp, bool hangUpConfirmed) {
  if (!service_.available()) {
    // Reported once per run; afterwards every poll is silently "not connected". The stored
    // fields keep what was last seen so the display does not flicker.
    if (!missingServiceReported_) {
      log_.append(kMissingService, true);
      missingServiceReported_ = true;
    }
    connected_ = false;
    traffic_.reset();
    return false;
  }

  const std::vector<RasConnection> connections = service_.activeConnections();
  // Only a single connection is understood: with two or more at once nothing is listed.
  const bool listed = connections.size() == 1;
  std::optional<std::int32_t> state;
  if (listed) state = service_.connectionState(connections.front().handle);

  if (listed && state) {
    rasState_ = *state;
    rasEntryName_ = cutToChars(connections.front().entry, kMaxEntryName);
    deviceName_ = cutToChars(connections.front().device, kMaxDeviceName);
    deviceCarriesTraffic_ = connections.front().deviceCarriesTraffic;
    handle_ = connections.front().handle;
    traffic_ = service_.trafficCounters(handle_);
  } else {
    storeNothing();
  }
  connected_ = listed && state && *state == kRasConnected;

  if (hangUp && hangUpConfirmed) {
    log_.append(kHangingUp, true);
    // The line is not waited for: the poller sees the disconnection on a later tick.
    if (listed) service_.hangUp(connections.front().handle);
  }
  return connected_;
}

void Probe::listEntries() {
  entries_.clear();
  usePhonebookNames(entries_);
  std::optional<std::vector<std::string>> names = service_.phonebookEntries();
  if (!names) {
    // The start lists the phonebook twice; a listing that fails as the last one did adds
    // nothing to the log.
    if (!entriesFailureLogged_) log_.append(kEntriesFailed, false);
    entriesFailureLogged_ = true;
    return;
  }
  entriesFailureLogged_ = false;
  // Cut as the name of a live connection is cut, so that the connection finds its entry.
  for (std::string& name : *names) name = cutToChars(name, kMaxEntryName);
  entries_ = std::move(*names);
  usePhonebookNames(entries_);
}

}  // namespace tarvik
