#include "platform/linux/nm_state_map.h"

#include "platform/ras_service.h"

namespace tarvik {

namespace {

struct StateMapping {
  std::uint32_t nm;
  std::int32_t ras;
};

// NMActiveConnectionState.
constexpr StateMapping kActiveStates[] = {
    {0, kRasNone},          // unknown
    {1, kRasFromStage},     // activating: see the device or VPN stage
    {2, kRasConnected},     // activated
    {3, kRasDisconnected},  // deactivating
    {4, kRasDisconnected},  // deactivated
};

// NMDeviceState. The modem dials and PPP authenticates in "config"; "ip-config" onwards is
// the projection phase in which the addresses are negotiated.
constexpr StateMapping kDeviceStates[] = {
    {0, kRasNone},            // unknown
    {10, kRasNone},           // unmanaged
    {20, kRasNone},           // unavailable
    {30, kRasNone},           // disconnected
    {40, kRasConnectDevice},  // prepare
    {50, kRasAuthenticate},   // config
    {60, kRasAuthNotify},     // need-auth: waiting for secrets
    {70, kRasAuthProject},    // ip-config
    {80, kRasAuthProject},    // ip-check
    {90, kRasAuthProject},    // secondaries
    {100, kRasConnected},     // activated
    {110, kRasDisconnected},  // deactivating
    {120, kRasDisconnected},  // failed
};

// NMVpnConnectionState.
constexpr StateMapping kVpnStates[] = {
    {0, kRasNone},           // unknown
    {1, kRasConnectDevice},  // prepare
    {2, kRasAuthNotify},     // need-auth
    {3, kRasAuthenticate},   // connect
    {4, kRasAuthProject},    // ip-config-get
    {5, kRasConnected},      // activated
    {6, kRasDisconnected},   // failed
    {7, kRasDisconnected},   // disconnected
};

template <std::size_t N>
std::int32_t lookUp(const StateMapping (&table)[N], std::uint32_t nm) {
  for (const StateMapping& m : table) {
    if (m.nm == nm) return m.ras;
  }
  return kRasNone;  // a state this program does not know: not a call it can meter
}

}  // namespace

std::int32_t rasStateOfActiveConnection(std::uint32_t activeState) {
  return lookUp(kActiveStates, activeState);
}
std::int32_t rasStateOfDevice(std::uint32_t deviceState) {
  return lookUp(kDeviceStates, deviceState);
}
std::int32_t rasStateOfVpn(std::uint32_t vpnState) {
  return lookUp(kVpnStates, vpnState);
}

}  // namespace tarvik
