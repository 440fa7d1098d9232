#!/usr/bin/env python3
"""The crash journal end to end: the real program is killed during a metered connection on the
simulated line; the next start finds the journal, books the interrupted connection once (the
recovery dialog answers by itself in tests), and a third start finds nothing more.
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, ini_value, metered_config  # noqa: E402

JOURNALS = ("security.seq", "security.pro", "security.tmp")


class CrashRecoveryTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-crash-"

    def test_killed_connection_is_booked_once_at_the_next_start(self):
        self.line("add", "Home")
        self.write_config("TarvikC.Kfg", metered_config())
        self.write_config("TarvikA.Kfg", "[Default]\nAccount=100\n")

        self.start()
        self.wait_for_log(" StandBy.\r\n")
        self.line("dial", "Home", "--auth", "0")
        self.wait_for_log(" Connection established.\r\n")
        # The first journals come 5 s and 5.555 s after metering began.
        self.wait_for(lambda: os.path.exists(self.path("security.seq")), "security.seq", 15)
        time.sleep(0.3)
        self.kill()
        self.line("hangup")
        journal_seconds = int(ini_value(self.path("security.seq"), "Olm:TK", "Duration"))
        self.assertGreaterEqual(journal_seconds, 4)

        self.start()
        self.wait_for_log(" Abnormal termination detected (")
        self.wait_for_log(" Account value: ")
        self.wait_for(lambda: not any(os.path.exists(self.path(j)) for j in JOURNALS),
                      "the journal to be deleted")
        self.wait_for_log(" StandBy.\r\n", 2)
        log = self.text("Tarvik.LOG")
        self.assertIn(" Interrupted connection data:\r\n Time spent online: 00:00:%02d\r\n"
                      % journal_seconds, log)
        stats = self.path("TarvikS.Kfg")
        self.assertEqual(ini_value(stats, "Default", "CountTT"), "1")
        self.assertEqual(ini_value(stats, "Default", "TimeTC"), str(journal_seconds))
        balance = float(ini_value(self.path("TarvikA.Kfg"), "Default", "Account").replace(",", "."))
        self.assertAlmostEqual(balance, 100 - journal_seconds * 0.01, places=4)
        quick = self.text("Velk.TxT").split("\r\n")[2:]
        self.assertEqual(len(quick), 2, quick)
        self.assertIn(" = 00:00:%02d + [$ | ~" % journal_seconds, quick[0])
        self.kill()

        # Nothing is left to book.
        self.start()
        self.wait_for_log(" StandBy.\r\n", 3)
        self.kill()
        self.assertEqual(self.text("Tarvik.LOG").count(" Abnormal termination detected ("), 1)
        self.assertEqual(ini_value(self.path("TarvikS.Kfg"), "Default", "CountTT"), "1")


if __name__ == "__main__":
    unittest.main()
