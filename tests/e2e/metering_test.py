#!/usr/bin/env python3
"""One metered connection end to end: the real program in a temporary program folder watches
the simulated line, which the test dials and hangs up with tarvik-line; then the event log,
the quick log, the statistics and the balance must tell the same story.
"""
import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest

BIN = os.environ.get("TARVIK_BIN", "build/tarvik")
LINE = os.environ.get("TARVIK_LINE", "build/tarvik-line")


def crlf(text):
    return text.replace("\n", "\r\n").encode("cp1251")


def ini_value(path, section, key):
    """The value of a key as the program's INI layer would read it (first occurrence)."""
    current = None
    with open(path, "rb") as f:
        for raw in f.read().decode("cp1251").splitlines():
            line = raw.strip()
            if line.startswith("[") and "]" in line:
                current = line[1:line.rindex("]")].strip().lower()
            elif current == section.lower() and "=" in line:
                k, v = line.split("=", 1)
                if k.strip().lower() == key.lower():
                    return v.strip()
    return None


def as_float32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


class MeteringTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tarvik-e2e-meter-")
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

    def path(self, name):
        return os.path.join(self.dir, name)

    def text(self, name):
        try:
            with open(self.path(name), "rb") as f:
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
            if needle in self.text("Tarvik.LOG"):
                return
            self.assertIsNone(self.proc.poll(), "the program ended early")
            time.sleep(0.05)
        self.fail(f"timed out waiting for {needle!r}; log:\n{self.text('Tarvik.LOG')}")

    def test_one_connection_is_metered_and_booked(self):
        self.line("add", "Home")
        self.assertEqual(self.line("entries"), "Home\n")
        # 3600 hundredths an hour (one a second), charged from the first second.
        day = "".join(f"Tar{d}=1\nTar{d}x0AH=00\nTar{d}x0AM=00\nTar{d}x0ZH=24\nTar{d}x0ZM=00\n"
                      f"Tar{d}x0Cost=03600\nTar{d}x0Name=Day\n" for d in range(7))
        with open(self.path("TarvikC.Kfg"), "wb") as f:
            f.write(crlf("[Olm:TK]\nShow=0\n[Default]\nFreeTime=0\n" + day))
        with open(self.path("TarvikA.Kfg"), "wb") as f:
            f.write(crlf("[Default]\nAccount=100\n"))

        self.proc = subprocess.Popen([self.exe], cwd=self.root, env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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
        self.assertAlmostEqual(balance, as_float32(100 - seconds * 0.01), places=6)

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
