#!/usr/bin/env python3
"""A data limit end to end: the simulated line moves bytes at a set rate while the real
program meters it; a day limit of 1 MB warns once at half of it, and at the limit the program
warns again and drops the line itself, logged as its automatic hang-up is.
"""
import datetime
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, ini_value, metered_config  # noqa: E402

RATE = 200_000  # bytes a second received; a tenth of it sent: 1 MB in under 5 s
LIMIT = "LimitUse=1\nLimitSize=1\nLimitUnit=0\nLimitSpan=0\nLimitShare=50\nLimitHangUp=1\n"


class DataLimitTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-limit-"

    def test_warning_then_hang_up_at_the_limit(self):
        self.line("add", "Home")
        self.write_config("TarvikC.Kfg", metered_config(LIMIT))
        self.write_config("TarvikA.Kfg", "[Default]\nAccount=100\n")
        self.start()
        self.wait_for_log(" StandBy.\r\n")

        self.line("dial", "Home", "--rate", str(RATE))
        self.wait_for_log(" Connection established.\r\n")
        self.wait_for_log(" Data limit warning: ")
        self.wait_for_log(" Data limit reached: 1 MB per day.\r\n")
        self.wait_for_log(" Account value: ")

        log = self.log()
        warning = log.index(" Data limit warning: ")
        reached = log.index(" Data limit reached: 1 MB per day.\r\n")
        hanging = log.index(" Hanging up...\r\n", reached)
        self.assertLess(warning, reached)
        self.assertLess(reached, hanging)
        self.assertLess(hanging, log.index(" Account value: "))
        self.assertEqual(log.count(" Data limit warning: "), 1)
        # Half of the limit or a little more, as the first tick past it saw it.
        share = int(log[warning:].split(":", 1)[1].split("%", 1)[0])
        self.assertGreaterEqual(share, 50)
        self.assertLess(share, 100)
        self.assertEqual(self.line("status"), "0\n")  # the line is down

        stats = self.path("TarvikS.Kfg")
        booked = int(ini_value(stats, "Default", "RxTD")) + int(ini_value(stats, "Default", "TxTD"))
        self.assertGreaterEqual(booked, 1 << 20)
        today = datetime.date.today()
        self.assertEqual(ini_value(stats, "Default", "LimitMark"), today.strftime("D%d.%m.%Y"))
        self.assertEqual(ini_value(stats, "Default", "LimitWarned"), "2")


if __name__ == "__main__":
    unittest.main()
