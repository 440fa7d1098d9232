#pragma once

#include <cstdint>

namespace tarvik {

// NetworkManager's state numbers, turned into the RAS state numbers the monitor watches.
// The active connection's own state decides activated and going down; while it activates,
// the finer stage comes from its VPN state (VPN profiles) or its device state.

// NMActiveConnectionState of an active connection, or nullopt-like -1 when it activates and
// the stage has to come from the device or VPN.
std::int32_t rasStateOfActiveConnection(std::uint32_t activeState);
std::int32_t rasStateOfDevice(std::uint32_t deviceState);
std::int32_t rasStateOfVpn(std::uint32_t vpnState);

// Marks an active connection that is still activating (NM_ACTIVE_CONNECTION_STATE_ACTIVATING).
constexpr std::int32_t kRasFromStage = -1;

}  // namespace tarvik
