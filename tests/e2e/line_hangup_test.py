#!/usr/bin/env python3
"""The real program on the simulated line: it picks the line at start, hangs a call up by
itself (automatic hang-up) so that the call disappears from the line file, and does not see
a connection while two calls are up at once.
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, metered_config  # noqa: E402


class LineHangUpTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-line-"

    def start(self, settings):
        """Starts the program with `settings` in [Default] and waits until it stands by."""
        self.write_config("TarvikC.Kfg", metered_config(settings))
        super().start()
        self.wait_for_log(" StandBy.\r\n")
        self.assertIn(" Remote access: simulated line.\r\n", self.log())

    def test_automatic_hang_up_drops_the_simulated_call(self):
        self.line("add", "Home")
        self.start("HangUpAuto=1\nHangUpTime=2\n")
        self.line("dial", "Home", "--auth", "0", "--device", "ttyS1")
        self.wait_for_log(" Connection established.\r\n")
        self.wait_for_log(" Hanging up...\r\n")
        self.wait_for_log(" Disconnected.\r\n")
        self.assertEqual(self.line("status"), "0\n")
        log = self.log()
        self.assertIn(" Device in use: ttyS1\r\n Entry in use: Home\r\n", log)
        self.assertLess(log.index(" Hanging up..."), log.index(" Disconnected."))

    def test_two_calls_at_once_are_not_a_connection(self):
        self.line("add", "Home")
        self.line("dial", "Home", "--auth", "0")
        self.line("second", "Work")
        self.start("")
        time.sleep(3)  # three polls of the line
        self.assertNotIn(" RAS or VPN activity detected.", self.log())
        # Once the line carries one call again, the program sees it.
        self.line("dial", "Home", "--auth", "0")
        self.wait_for_log(" Connection established.\r\n")


if __name__ == "__main__":
    unittest.main()
