#!/usr/bin/env python3
"""One metered connection end to end: the real program in a temporary program folder watches
the simulated line, which the test dials and hangs up with tarvik-line; then the event log,
the quick log, the statistics and the balance must tell the same story.
"""
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, ini_value, metered_config  # noqa: E402


class MeteringTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-meter-"

    def test_one_connection_is_metered_and_booked(self):
        self.line("add", "Home")
        self.assertEqual(self.line("entries"), "Home\n")
        # 3600 hundredths an hour (one a second), charged from the first second.
        self.write_config("TarvikC.Kfg", metered_config())
        self.write_config("TarvikA.Kfg", "[Default]\nAccount=100\n")

        self.start()
        self.wait_for_log(" StandBy.\r\n")

        self.line("dial", "Home", "--auth", "1")
        self.wait_for_log(" Connection established.\r\n")
        self.assertTrue(self.line("status").startswith("8192"))
        time.sleep(3)
        self.line("hangup")
        self.wait_for_log(" Account value: ")
        time.sleep(0.3)  # the quick-log line is finished right after the log lines

        log = self.text("Tarvik.LOG")
        connection = log[log.index(" RAS or VPN activity detected."):]
        m = re.fullmatch(
            r" RAS or VPN activity detected\.\r\n"
            r" Device in use: Simulated modem\r\n"
            r" Entry in use: Home\r\n"
            r" Entry settings: Default\r\n"
            r" Tariff in use: «Day», 3600/h\r\n"
            r" Authentification\.\.\.\r\n"
            r"\r\n\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\r\n"
            r" Authentification successful\.\r\n"
            r" Connection established\.\r\n"
            r"\r\n\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\r\n"
            r" Disconnected\.\r\n"
            r" Time spent online: 00:00:(\d\d)\r\n"
            r" Financial expences: (\d+) ц\r\n"
            r" Account value: \$ ([0-9.,]+)\r\n", connection)
        self.assertIsNotNone(m, connection)
        seconds, cost, balance_text = int(m.group(1)), int(m.group(2)), m.group(3)
        self.assertTrue(3 <= seconds <= 10, seconds)
        self.assertEqual(cost, seconds)  # one hundredth a second
        balance = float(balance_text.replace(",", "."))
        # Written as the user would work it out, without single precision's noise.
        self.assertAlmostEqual(balance, 100 - seconds * 0.01, places=9)

        quick = self.text("Velk.TxT")
        self.assertTrue(quick.startswith("Tarvik «4» quick connections log\r\n\r\n"), quick)
        lines = quick.split("\r\n")[2:]
        self.assertEqual(lines[-1], "")  # the line is finished
        self.assertEqual(len(lines), 2, quick)
        sep = "," if "," in balance_text else "."
        cost_units = f"0{sep}{seconds:02d}" if seconds < 10 else f"0{sep}{seconds}"
        self.assertRegex(lines[0], r"^\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d = 00:00:%02d \+ "
                         r"\[\$ \| ~%s *\| =%s *\] <Default>$"
                         % (seconds, re.escape(cost_units[:6]), re.escape(balance_text[:6])))
        self.assertEqual(len(lines[0]), len("06.12.2026 21:10:41 = 00:00:30 + [$ | ~0.2083 | "
                                            "=99.791 ] <Default>"))

        stats = self.path("TarvikS.Kfg")
        self.assertEqual(ini_value(stats, "Default", "CountTT"), "1")
        self.assertEqual(ini_value(stats, "Default", "TimeTC"), str(seconds))
        self.assertEqual(ini_value(stats, "Default", "MoneyTC"), str(cost))
        self.assertEqual(ini_value(stats, "Default", "Undo"), "1")
        self.assertEqual(ini_value(stats, "Default", "UndoTim"), str(seconds))
        self.assertEqual(ini_value(self.path("TarvikA.Kfg"), "Default", "Account"), balance_text)
        # A normal end leaves no crash journal behind.
        for name in ("security.seq", "security.pro", "security.tmp"):
            self.assertFalse(os.path.exists(self.path(name)), name)


if __name__ == "__main__":
    unittest.main()
