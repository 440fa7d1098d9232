#!/usr/bin/env python3
"""The real program against a real NetworkManager (see nm_fixture.py): an OpenVPN profile is
listed, dialled, metered and booked once however it ends (hung up with nmcli, refused by the
server, hung up by the program, its client killed, NetworkManager stopped), and a
NetworkManager that starts after the program is picked up.

Runs as root only; elsewhere it reports why and counts as skipped. The cases share one
fixture and run in order: the first starts NetworkManager, the last stops it.
"""
import os
import re
import shutil
import signal
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import DAY_PLAN, ProgramDirTestCase, ini_value, metered_config  # noqa: E402
from nm_fixture import AUTH_DELAY, NmFixture, skip_reason  # noqa: E402

LAN = "Wired LAN"
VPN = "Office VPN"
# Without NetworkManager the program falls back to pppd where it is installed.
NO_NETWORK_MANAGER = r" Remote access: (none found|pppd)\.\r\n"
SKIPPED = 77  # ctest's SKIP_RETURN_CODE for the end-to-end tests


class NmNetworkTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-nm-"
    fx = None  # the fixture, made once by main()

    current = None  # the case running, for main() to end its program on SIGTERM

    def setUp(self):
        super().setUp()
        self.env = self.fx.env(self.env)
        NmNetworkTest.current = self

    def tearDown(self):
        # No case leaves its VPN up for the next one.
        if self.fx.nm is not None and VPN in self.fx.active():
            self.fx.nmcli("connection", "down", VPN, check=False)
        self.fx.reap_dialers()
        super().tearDown()
        NmNetworkTest.current = None

    def start_program(self, vpn_settings="Done=1\n", settings=""):
        """The program with the VPN profile's own settings and `settings` in [Default]."""
        self.write_config("TarvikC.Kfg", metered_config(settings) + f"[{VPN}]\n{vpn_settings}"
                          f"FreeTime=0\n{DAY_PLAN}[{LAN}]\nDone=1\n")
        self.start()
        self.wait_for_log(" StandBy.\r\n")

    def dial_and_wait_online(self):
        self.fx.dial(VPN)
        self.wait_for_log(" Connection established.\r\n")

    def bookings(self):
        """How often the VPN's entry was booked, by the statistics and by the quick log."""
        count = ini_value(self.path("TarvikS.Kfg"), VPN, "CountTT") if os.path.exists(
            self.path("TarvikS.Kfg")) else None
        return count, self.text("Velk.TxT").count(f"] <{VPN}>\r\n")

    def assert_booked_once(self):
        time.sleep(2)  # two more polls: nothing more may come
        self.assertEqual(self.bookings(), ("1", 1), self.log())
        self.assertEqual(self.log().count(" Disconnected.\r\n"), 1, self.log())

    def assert_device_once(self, device):
        """The connection's device line came once and named `device`."""
        log = self.log()
        self.assertEqual(log.count(" Device in use: "), 1, log)
        self.assertIn(f" Device in use: {device}\r\n", log)

    def test_1_network_manager_started_after_the_program_is_picked_up(self):
        self.start_program("Done=1\nAuthentification=0\n")
        self.assertRegex(self.log(), NO_NETWORK_MANAGER)
        self.fx.start_nm()
        self.fx.add_profiles(LAN, VPN)
        self.wait_for_log(" Remote access: NetworkManager.\r\n")
        self.dial_and_wait_online()
        # Its own settings are found through the phonebook listed after the switch.
        self.assertIn(f" Entry in use: {VPN}\r\n Entry settings: {VPN}\r\n", self.log())
        self.fx.nmcli("connection", "down", VPN)
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()
        self.assert_device_once("tun0")

    def test_2_vpn_profile_is_an_entry_authenticated_metered_and_booked_once(self):
        self.start_program()
        self.assertIn(" Remote access: NetworkManager.\r\n", self.log())
        self.assertIn(LAN, self.fx.active())
        time.sleep(2)  # the Ethernet profile is up, but it is no dial-up entry
        self.assertNotIn(" RAS or VPN activity detected.", self.log())

        self.fx.dial(VPN)
        self.wait_for_log(" Authentification...\r\n")
        detected = time.time()
        self.wait_for_log(" Authentification successful.\r\n")
        # The server takes its time over the password: the program saw several polls of it.
        self.assertGreaterEqual(time.time() - detected, AUTH_DELAY - 1.5)
        log = self.log()
        # While it authenticates only the Ethernet device under it is there: the device line
        # waits for the tunnel the traffic will go through.
        self.assertIn(f" RAS or VPN activity detected.\r\n Entry in use: {VPN}\r\n"
                      f" Entry settings: {VPN}\r\n", log)
        self.assertLess(log.index(" Authentification..."), log.index(" Device in use: tun0\r\n"))
        self.assertLess(log.index(" Device in use: tun0\r\n"),
                        log.index(" Authentification successful."))
        time.sleep(2)
        self.fx.nmcli("connection", "down", VPN)
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()
        self.assert_device_once("tun0")
        self.assertIn(LAN, self.fx.active())

    def test_3_vpn_up_before_the_program_is_metered_on_its_tunnel(self):
        self.fx.nmcli("connection", "up", VPN)  # waits until the VPN is up
        self.start_program()
        self.wait_for_log(" Connection established.\r\n")
        self.assertIn(f" RAS or VPN activity detected.\r\n Device in use: tun0\r\n"
                      f" Entry in use: {VPN}\r\n", self.log())
        self.fx.nmcli("connection", "down", VPN)
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()

    def test_4_refused_password_books_nothing(self):
        self.start_program()
        self.fx.refuse(True)
        try:
            nmcli = self.fx.dial(VPN)
            self.wait_for_log(" Authentification failed.\r\n")
            self.assertNotEqual(nmcli.wait(30), 0)
        finally:
            self.fx.refuse(False)
        time.sleep(2)
        log = self.log()
        self.assertIn(" Authentification...\r\n", log)
        # No tunnel ever came: the device line names what the call was made over.
        self.assertEqual(log.count(" Device in use: "), 1, log)
        self.assertLess(log.index(" Device in use: "), log.index(" Authentification failed."))
        self.assertNotIn(" Device in use: tun", log)
        self.assertNotIn(" Connection established.", log)
        self.assertNotIn(" Disconnected.", log)
        # Nothing booked; the quick log keeps the attempt as one that never got through.
        self.assertEqual(self.bookings(), (None, 1))
        self.assertIn(" = 00:00:00 - [  | ~       | =", self.text("Velk.TxT"))

    def test_5_the_programs_hang_up_ends_only_the_vpn(self):
        self.start_program("Done=1\nHangUpAuto=1\nHangUpTime=10\n")
        self.dial_and_wait_online()
        self.wait_for_log(" Hanging up...\r\n")
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()
        active = self.fx.active()
        self.assertNotIn(VPN, active)
        self.assertIn(LAN, active)

    def test_6_killed_vpn_client_is_booked_as_a_lost_line(self):
        self.start_program()
        self.dial_and_wait_online()
        clients = self.fx.client_pids("openvpn")
        self.assertEqual(len(clients), 1, clients)
        os.kill(clients[0], signal.SIGKILL)
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()
        self.assertNotIn(" Hanging up...", self.log())

    def test_7_network_manager_stopped_while_online_is_a_lost_line(self):
        self.start_program()
        self.dial_and_wait_online()
        self.fx.stop_nm()
        self.wait_for(lambda: re.search(NO_NETWORK_MANAGER, self.log()), "the switch")
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()
        self.assertIsNone(self.proc.poll())


def main():
    reason = skip_reason()
    if reason:
        print("SKIPPED: " + reason)
        return SKIPPED
    # ctest ends a test that overruns with SIGTERM: the fixture is still taken down.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    fx = NmFixture()
    try:
        fx.start()
        NmNetworkTest.fx = fx
        result = unittest.main(exit=False, verbosity=2).result
        return 0 if result.wasSuccessful() else 1
    finally:
        if NmNetworkTest.current is not None:  # interrupted: tearDown did not run
            NmNetworkTest.current.kill()
            shutil.rmtree(NmNetworkTest.current.root, ignore_errors=True)
        fx.close()


if __name__ == "__main__":
    sys.exit(main())
