#pragma once

#include <cstdint>

namespace tarvik {

// NetworkManager's state numbers turned into the RAS state numbers the monitor watches. The
// active connection's own state decides "activated" and "going down"; while it activates, the
// finer stage comes from its VPN state (VPN profiles) or from its device's state. Numbers
// this program does not know map to 0: nothing it could meter.

// What an active connection in that NMActiveConnectionState is; kRasFromStage while it
// activates, when the stage has to come from the device or the VPN.
std::int32_t rasStateOfActiveConnection(std::uint32_t activeState);
// NMDeviceState and NMVpnConnectionState.
std::int32_t rasStateOfDevice(std::uint32_t deviceState);
std::int32_t rasStateOfVpn(std::uint32_t vpnState);

constexpr std::int32_t kRasFromStage = -1;

}  // namespace tarvik
