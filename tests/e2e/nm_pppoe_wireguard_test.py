#!/usr/bin/env python3
"""The real program against a real NetworkManager (see nm_fixture.py) with its PPPoE and
WireGuard profiles: each is listed as an entry, metered on the interface that carries its
traffic, and booked once when `nmcli connection down` ends it. The PPPoE profile dials a
`pppoe-server` in the fixture's other namespace.

Runs as root on a kernel with PPP over Ethernet and WireGuard; elsewhere it reports why and
counts as skipped (`make test-vm` runs it in a virtual machine).
"""
import base64
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import DAY_PLAN, ProgramDirTestCase, ini_value, metered_config  # noqa: E402
import nm_fixture  # noqa: E402
import pppd_fixture  # noqa: E402
from nm_fixture import NmFixture  # noqa: E402

DSL = "Home DSL"
WG = "Office WireGuard"
WG_INTERFACE = "wg-office"
SKIPPED = 77

# The server side of the PPPoE profile: its own /run and /etc/ppp inside the namespace that
# `ip netns exec` gives it.
PPPOE_SERVER = """set -e
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /etc/ppp
mkdir /etc/ppp/plugins
ln -s "$1" /etc/ppp/plugins/rp-pppoe.so
printf 'require-pap\\nlcp-echo-interval 1\\nlcp-echo-failure 3\\nnoccp\\nnovj\\n' \\
  >/etc/ppp/pppoe-server-options
printf '"%s" * "%s" *\\n' "$2" "$3" >/etc/ppp/pap-secrets
chmod 600 /etc/ppp/pap-secrets
exec pppoe-server -F -k -I tvks0 -L 198.51.100.1 -R 198.51.100.2 -N 4 \\
  -O /etc/ppp/pppoe-server-options
"""


def wireguard_key():
    """A Curve25519 private key as WireGuard writes one."""
    key = bytearray(os.urandom(32))
    key[0] &= 248
    key[31] = (key[31] & 127) | 64
    return base64.b64encode(bytes(key)).decode()


def skip_reason():
    reason = nm_fixture.skip_reason() or pppd_fixture.skip_reason()
    if reason:
        return reason
    probe = subprocess.run(["unshare", "--net", "ip", "link", "add", "wg-probe", "type",
                            "wireguard"], capture_output=True)
    if probe.returncode != 0:
        return "this kernel has no WireGuard: `make test-vm` runs these cases in a virtual machine"
    return None


class NmPppoeWireguardTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-nm-ppp-"
    wait_seconds = 90  # an emulated machine is slow
    fx = None
    current = None

    def setUp(self):
        super().setUp()
        self.env = self.fx.env(self.env)
        NmPppoeWireguardTest.current = self

    def tearDown(self):
        for name in (DSL, WG):
            if name in self.fx.active():
                self.fx.nmcli("connection", "down", name, check=False)
        self.fx.reap_dialers()
        super().tearDown()
        NmPppoeWireguardTest.current = None

    def start_program(self, entry):
        self.write_config("TarvikC.Kfg", metered_config() + f"[{entry}]\nDone=1\nFreeTime=0\n"
                          f"{DAY_PLAN}")
        self.start()
        self.wait_for_log(" StandBy.\r\n")
        self.assertIn(" Remote access: NetworkManager.\r\n", self.log())

    def dial_meter_and_hang_up(self, entry, device):
        self.fx.dial(entry)
        self.wait_for_log(" Connection established.\r\n")
        self.assertIn(f" Entry in use: {entry}\r\n Entry settings: {entry}\r\n", self.log())
        time.sleep(2)
        self.fx.nmcli("connection", "down", entry)
        self.wait_for_log(" Disconnected.\r\n")
        time.sleep(2)  # two more polls: nothing more may come
        log = self.log()
        stats = self.path("TarvikS.Kfg")
        count = ini_value(stats, entry, "CountTT") if os.path.exists(stats) else None
        self.assertEqual((count, self.text("Velk.TxT").count(f"] <{entry}>\r\n")), ("1", 1), log)
        self.assertEqual(log.count(" Disconnected.\r\n"), 1, log)
        self.assertEqual(log.count(" RAS or VPN activity detected."), 1, log)
        # Once, and the interface the traffic went through, not the device under it.
        self.assertEqual(log.count(" Device in use: "), 1, log)
        self.assertIn(f" Device in use: {device}\r\n", log)

    def test_pppoe_profile_dials_the_server_and_is_booked_once(self):
        self.fx.nmcli("connection", "add", "type", "pppoe", "con-name", DSL, "ifname", "tvkc0",
                      "pppoe.username", pppd_fixture.USER, "pppoe.password",
                      pppd_fixture.PASSWORD, "ipv6.method", "ignore",
                      "connection.autoconnect", "no")
        self.start_program(DSL)
        # The call is seen while PPP still negotiates, over the Ethernet device tvkc0; the
        # device line waits for ppp0, which comes with the address.
        self.dial_meter_and_hang_up(DSL, "ppp0")

    def test_wireguard_profile_is_metered_on_its_interface_and_booked_once(self):
        self.fx.nmcli("connection", "add", "type", "wireguard", "con-name", WG, "ifname",
                      WG_INTERFACE, "wireguard.private-key", wireguard_key(), "ipv4.method",
                      "manual", "ipv4.addresses", "10.98.0.2/24", "ipv6.method", "ignore",
                      "connection.autoconnect", "no")
        self.start_program(WG)
        self.dial_meter_and_hang_up(WG, WG_INTERFACE)
        self.assertNotIn(" Authentification failed.", self.log())


def main():
    reason = skip_reason()
    if reason:
        print("SKIPPED: " + reason)
        return SKIPPED
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    fx = NmFixture()
    server = None
    try:
        fx.start(vpn_server=False)
        server = subprocess.Popen(
            ["ip", "netns", "exec", fx.server_ns, "sh", "-c", PPPOE_SERVER, "server",
             pppd_fixture.plugin(), pppd_fixture.USER, pppd_fixture.PASSWORD],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        fx.start_nm()
        NmPppoeWireguardTest.fx = fx
        result = unittest.main(exit=False, verbosity=2).result
        if not result.wasSuccessful():
            print("NetworkManager's log:\n" + fx.nm_log_text()[-4000:])
        return 0 if result.wasSuccessful() else 1
    finally:
        if NmPppoeWireguardTest.current is not None:
            NmPppoeWireguardTest.current.kill()
            shutil.rmtree(NmPppoeWireguardTest.current.root, ignore_errors=True)
        if server is not None and server.poll() is None:
            server.kill()
            server.wait()
        fx.close()  # also ends the server's session processes in its namespace


if __name__ == "__main__":
    sys.exit(main())
