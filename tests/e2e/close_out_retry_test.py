#!/usr/bin/env python3
"""Bookings that cannot be written, end to end: with TarvikS.Kfg read-only the real program
meters connection A (about 7 s), then B (about 3 s); once the file is writable again,
connection C starts and all three are booked once each, in order, as themselves: every
connection keeps one quick-log line with its own figures, and the statistics and the balance
add up to the three lines.
"""
import os
import re
import stat
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, ini_value, metered_config  # noqa: E402

LINE = re.compile(r"^\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d = 00:00:(\d\d) \+ "
                  r"\[\$ \| ~([0-9.]+) *\| =([0-9.]+) *\] <Default>$")
KEPT = re.compile(r" Kept connection data:\r\n Time spent online: 00:00:(\d\d)\r\n")


class CloseOutRetryTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-retry-"

    def connection(self, seconds, number):
        self.line("dial", "Home", "--auth", "0")
        self.wait_for_log(" Connection established.\r\n", number)
        time.sleep(seconds)
        self.line("hangup")
        self.wait_for_log(" Disconnected.\r\n", number)
        time.sleep(0.5)

    def test_bookings_kept_while_the_statistics_are_read_only_are_each_booked_once(self):
        self.line("add", "Home")
        self.write_config("TarvikC.Kfg", metered_config())
        self.write_config("TarvikA.Kfg", "[Default]\nAccount=100\n")
        self.write_config("TarvikS.Kfg", "[Default]\nCountTT=0\n")
        stats = self.path("TarvikS.Kfg")
        os.chmod(stats, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)

        self.start()
        self.wait_for_log(" StandBy.\r\n")
        self.connection(7, 1)  # A
        self.connection(3, 2)  # B
        log = self.log()
        self.assertNotIn("booking completed", log)
        self.assertNotIn(" Time spent online:", log)  # nothing was booked
        self.assertEqual(ini_value(stats, "Default", "CountTT"), "0")
        self.assertEqual(ini_value(self.path("TarvikA.Kfg"), "Default", "Account"), "100")
        self.assertTrue(os.path.exists(self.path("security.que")))

        os.chmod(stats, 0o644)
        self.connection(3, 3)  # C
        self.wait_for_log(" Time spent online:", 3)
        self.wait_for(lambda: self.text("Velk.TxT").count("\r\n") == 5, "three finished lines")

        lines = self.text("Velk.TxT").split("\r\n")[2:]
        self.assertEqual(lines[-1], "", lines)
        figures = []
        for text in lines[:-1]:
            m = LINE.match(text)
            self.assertIsNotNone(m, lines)
            figures.append((int(m.group(1)), float(m.group(2)), float(m.group(3))))
        self.assertEqual(len(figures), 3, lines)
        (a, _, _), (b, _, balance_b), (c, _, balance_c) = figures
        self.assertTrue(6 <= a <= 10 and 2 <= b <= 5 and 2 <= c <= 5, figures)
        for seconds, cost, _ in figures:
            self.assertAlmostEqual(cost, seconds * 0.01, places=4)
        # B was metered, while A waited, from the balance A leaves, not from the stored 100.
        self.assertAlmostEqual(balance_b, 100 - (a + b) * 0.01, delta=0.002)
        self.assertAlmostEqual(balance_c, 100 - (a + b + c) * 0.01, delta=0.002)  # cut to six

        # The kept ones were booked before C began, A first, each reported once.
        log = self.log()
        self.assertEqual(KEPT.findall(log), ["%02d" % a, "%02d" % b], log)
        self.assertEqual(log.count(" Time spent online:"), 3, log)
        self.assertNotIn("booking completed", log)
        self.assertEqual(ini_value(stats, "Default", "CountTT"), "3")
        self.assertEqual(ini_value(stats, "Default", "TimeTT"), str(a + b + c))
        self.assertEqual(ini_value(stats, "Default", "TimePC"), str(b))
        balance = float(ini_value(self.path("TarvikA.Kfg"), "Default", "Account"))
        self.assertAlmostEqual(balance, 100 - (a + b + c) * 0.01, places=4)
        for name in ("security.que", "security.seq", "security.pro", "security.tmp"):
            self.assertFalse(os.path.exists(self.path(name)), name)
        self.kill()

        # A restart finds nothing more to book.
        self.start()
        self.wait_for_log(" StandBy.\r\n", 2)
        self.kill()
        self.assertEqual(ini_value(stats, "Default", "CountTT"), "3")


if __name__ == "__main__":
    unittest.main()
