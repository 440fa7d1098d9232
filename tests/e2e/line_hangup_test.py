#!/usr/bin/env python3
"""The real program on the simulated line: it picks the line at start, hangs a call up by
itself (automatic hang-up) so that the call disappears from the line file, and does not see
a connection while two calls are up at once.
"""
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

BIN = os.environ.get("TARVIK_BIN", "build/tarvik")
LINE = os.environ.get("TARVIK_LINE", "build/tarvik-line")


def crlf(text):
    return text.replace("\n", "\r\n").encode("cp1251")


# One tariff period over the whole week, so the meter has a price to work with.
DAY_PLAN = "".join(f"Tar{d}=1\nTar{d}x0AH=00\nTar{d}x0AM=00\nTar{d}x0ZH=24\nTar{d}x0ZM=00\n"
                   f"Tar{d}x0Cost=03600\nTar{d}x0Name=Day\n" for d in range(7))


class LineHangUpTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tarvik-e2e-line-")
        self.dir = os.path.join(self.root, "prog")
        self.runtime = os.path.join(self.root, "runtime")
        os.mkdir(self.dir)
        os.mkdir(self.runtime, 0o700)
        self.exe = os.path.join(self.dir, "tarvik")
        shutil.copy2(BIN, self.exe)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="offscreen",
                        TARVIK_TEST_DISMISS_MS="200", LC_ALL="C", LANG="C")
        self.proc = None

    def tearDown(self):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()
        shutil.rmtree(self.root, ignore_errors=True)

    def log(self):
        try:
            with open(os.path.join(self.dir, "Tarvik.LOG"), "rb") as f:
                return f.read().decode("cp1251")
        except FileNotFoundError:
            return ""

    def line(self, *args):
        result = subprocess.run([LINE, self.dir, *args], capture_output=True, timeout=30)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.decode()

    def wait_for_log(self, needle, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            if needle in self.log():
                return
            self.assertIsNone(self.proc.poll(), "the program ended early")
            time.sleep(0.05)
        self.fail(f"timed out waiting for {needle!r}; log:\n{self.log()}")

    def start(self, settings):
        with open(os.path.join(self.dir, "TarvikC.Kfg"), "wb") as f:
            f.write(crlf("[Olm:TK]\nShow=0\n[Default]\nFreeTime=0\n" + settings + DAY_PLAN))
        self.proc = subprocess.Popen([self.exe], cwd=self.root, env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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
