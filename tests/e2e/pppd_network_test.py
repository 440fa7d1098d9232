#!/usr/bin/env python3
"""The real program against a real pppd dialling a PPPoE server (see pppd_fixture.py): the
peers are the phonebook, a call authenticates while pppd looks for the server, is online once
ppp0 has its address, and is booked once however it ends (poff, pppd killed, the program's own
hang-up), with no phantom connection from the pid file a killed pppd leaves behind.

Runs as root on a kernel with PPP over Ethernet; elsewhere it reports why and counts as
skipped (`make test-vm` runs it in a virtual machine). The cases share one fixture.
"""
import os
import re
import subprocess
import shutil
import signal
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import DAY_PLAN, ProgramDirTestCase, ini_value, metered_config  # noqa: E402
import pppd_fixture  # noqa: E402
from pppd_fixture import PEER, PppdFixture  # noqa: E402

SKIPPED = 77  # ctest's SKIP_RETURN_CODE for the end-to-end tests


class PppdNetworkTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-pppd-"
    wait_seconds = 60  # an emulated machine is slow
    fx = None  # made once by main()
    current = None

    def setUp(self):
        super().setUp()
        PppdNetworkTest.current = self

    def tearDown(self):
        self.fx.hang_up_all()
        super().tearDown()
        PppdNetworkTest.current = None

    def wait_for(self, predicate, what, timeout=None):
        try:
            super().wait_for(predicate, what, timeout)
        except AssertionError as e:
            raise AssertionError(f"{e}\nlog:\n{self.log()}\n{self.fx.state()}") from None

    def start_program(self, settings="Done=1\n"):
        self.write_config("TarvikC.Kfg", metered_config() + f"[{PEER}]\n{settings}FreeTime=0\n"
                          f"{DAY_PLAN}")
        self.start()
        self.wait_for_log(" StandBy.\r\n")
        self.assertIn(" Remote access: pppd.\r\n", self.log())

    def wait_online(self):
        self.wait_for_log(" Connection established.\r\n")
        self.assertTrue(self.fx.has_address(), self.fx.log("client"))
        # The device line names ppp0, in the block when pppd had it at the first look, else
        # once it came.
        log = self.log()
        self.assertRegex(log, rf" RAS or VPN activity detected.\r\n( Device in use: ppp0\r\n)?"
                         rf" Entry in use: {PEER}\r\n Entry settings: {PEER}\r\n")
        self.assertEqual(log.count(" Device in use: "), 1, log)
        self.assertIn(" Device in use: ppp0\r\n", log)

    def assert_booked_once(self):
        time.sleep(3)  # a few more polls: nothing more may come
        stats = self.path("TarvikS.Kfg")
        count = ini_value(stats, PEER, "CountTT") if os.path.exists(stats) else None
        log = self.log()
        self.assertEqual((count, self.text("Velk.TxT").count(f"] <{PEER}>\r\n")), ("1", 1), log)
        self.assertEqual(log.count(" Disconnected.\r\n"), 1, log)
        self.assertEqual(log.count(" RAS or VPN activity detected."), 1, log)

    def run_poff(self):
        return subprocess.run(["poff", PEER], capture_output=True, timeout=30)

    def wait_pppd_gone(self):
        self.wait_for(lambda: not self.fx.client_pids(), "pppd to end")

    def test_1_dial_authenticates_until_the_server_answers_and_poff_books_once(self):
        self.start_program()
        self.fx.dial()  # the server is not there yet: pppd keeps looking for it
        self.wait_for_log(" Authentification...\r\n")
        looking = time.time()
        time.sleep(2.5)
        self.assertNotIn(" Authentification successful.", self.log())
        self.fx.start_server()
        self.wait_for_log(" Authentification successful.\r\n")
        self.assertGreaterEqual(time.time() - looking, 2.5)
        self.wait_online()
        time.sleep(2)
        self.assertEqual(self.run_poff().returncode, 0)
        self.wait_pppd_gone()
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()
        self.assertNotIn(" Hanging up...", self.log())

    def test_2_killed_pppd_is_a_lost_line_and_its_pid_file_no_connection(self):
        self.fx.start_server()
        self.start_program()
        self.fx.dial()
        self.wait_online()
        pids = self.fx.client_pids()
        self.assertEqual(len(pids), 1, pids)
        os.kill(pids[0], signal.SIGKILL)
        self.wait_pppd_gone()
        self.wait_for_log(" Disconnected.\r\n")
        # pppd had no chance to clean up: its pid file still names it.
        stale = [f for f in os.listdir("/run") if re.fullmatch(r"ppp\d+\.pid", f)]
        self.assertTrue(stale, os.listdir("/run"))
        with open(os.path.join("/run", stale[0])) as f:
            self.assertEqual(int(f.readline()), pids[0])
        self.assert_booked_once()
        self.assertNotIn(" Hanging up...", self.log())
        self.assertIsNone(self.proc.poll())

    def test_3_the_programs_hang_up_ends_pppd(self):
        self.fx.start_server()
        self.start_program("Done=1\nHangUpAuto=1\nHangUpTime=10\n")
        self.fx.dial()
        self.wait_online()
        self.wait_for_log(" Hanging up...\r\n")
        self.wait_pppd_gone()
        self.wait_for_log(" Disconnected.\r\n")
        self.assert_booked_once()
        self.assertFalse(os.path.exists("/sys/class/net/ppp0"))


def main():
    reason = pppd_fixture.skip_reason()
    if reason:
        print("SKIPPED: " + reason)
        return SKIPPED
    outer = pppd_fixture.enter([sys.executable, os.path.abspath(__file__), *sys.argv[1:]])
    if outer is not None:
        return outer
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    fx = PppdFixture()
    try:
        fx.start()
        PppdNetworkTest.fx = fx
        result = unittest.main(exit=False, verbosity=2).result
        if not result.wasSuccessful():
            print("pppd's log:\n" + fx.log("client")[-3000:] + "\nserver's log:\n" +
                  fx.log("server")[-3000:])
        return 0 if result.wasSuccessful() else 1
    finally:
        if PppdNetworkTest.current is not None:
            PppdNetworkTest.current.kill()
            shutil.rmtree(PppdNetworkTest.current.root, ignore_errors=True)
        fx.close()


if __name__ == "__main__":
    sys.exit(main())
