#!/usr/bin/env python3
"""The volume of a connection end to end: the simulated line moves bytes at a set rate while
the real program meters it; the statistics book the bytes beside time and money, and
tarvik-report prints them as text, csv and json without writing anything.
"""
import json
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import REPORT, ProgramDirTestCase, ini_value, metered_config  # noqa: E402

RATE = 250_000  # bytes a second received; a tenth of it sent


class VolumeReportTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-volume-"

    def report(self, *args, code=0):
        result = subprocess.run([REPORT, self.dir, *args], capture_output=True, timeout=30,
                                env=dict(os.environ, LC_ALL="C"))
        self.assertEqual(result.returncode, code, result.stderr.decode())
        return result.stdout.decode("utf-8"), result.stderr.decode("utf-8")

    def test_rate_is_booked_and_reported(self):
        self.line("add", "Home")
        self.write_config("TarvikC.Kfg", metered_config())
        self.write_config("TarvikA.Kfg", "[Default]\nAccount=100\n")
        self.start()
        self.wait_for_log(" StandBy.\r\n")

        dialled = time.time()
        self.line("dial", "Home", "--auth", "1", "--rate", str(RATE))
        self.wait_for_log(" Connection established.\r\n")
        status = self.line("status").rstrip("\n").split("\t")
        self.assertEqual(status[:3], ["8192", "Home", "Simulated modem"])
        self.assertEqual(int(status[4]), int(status[3]) // 10)
        time.sleep(3)
        self.line("hangup")
        elapsed = time.time() - dialled
        self.wait_for_log(" Account value: ")
        time.sleep(0.3)

        stats = self.path("TarvikS.Kfg")
        seconds = int(ini_value(stats, "Default", "TimeTC"))
        received = int(ini_value(stats, "Default", "RxTC"))
        sent = int(ini_value(stats, "Default", "TxTC"))
        # Counted between the first and the last poll of the connection, a second apart each.
        self.assertGreaterEqual(received, RATE * (seconds - 3))
        self.assertLessEqual(received, RATE * elapsed)
        self.assertLessEqual(abs(sent - received // 10), 1)
        self.assertEqual(ini_value(stats, "Default", "RxTT"), str(received))
        self.assertEqual(ini_value(stats, "Default", "UndoRx"), str(received))

        before = {name: self.read_bytes(name) for name in os.listdir(self.dir)}
        out, _ = self.report("--format", "json", "--log")
        report = json.loads(out)
        default = report["entries"][0]
        self.assertEqual(default["name"], "Default")
        connection = default["spans"][0]
        self.assertEqual(connection["span"], "connection")
        self.assertEqual((connection["seconds"], connection["received"], connection["sent"]),
                         (seconds, received, sent))
        self.assertEqual(len(report["log"]), 1)
        self.assertEqual(report["log"][0]["seconds"], seconds)
        self.assertEqual(report["log"][0]["outcome"], "booked")

        out, _ = self.report("--entry", "Default", "--format", "csv")
        self.assertIn(f"Default,connection,{seconds},", out)
        self.assertIn(f",{received},{sent}\n", out)
        out, _ = self.report()
        self.assertIn("последнее соединение", out)
        self.assertIn(" КБ" if received < 1024 * 1024 else " МБ", out)

        _, err = self.report("--entry", "Nowhere", code=2)
        self.assertIn("Nowhere", err)
        self.report(os.path.join(self.dir, "no-such-folder"), code=2)
        self.report("--format", "xml", code=2)
        # Nothing was written.
        self.assertEqual({name: self.read_bytes(name) for name in os.listdir(self.dir)}, before)


if __name__ == "__main__":
    unittest.main()
