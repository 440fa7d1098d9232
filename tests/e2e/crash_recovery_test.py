#!/usr/bin/env python3
"""The crash journal end to end: the real program is killed during a metered connection on the
simulated line; the next start finds the journal, books the interrupted connection once (the
recovery dialog answers by itself in tests), and a third start finds nothing more.
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
JOURNALS = ("security.seq", "security.pro", "security.tmp")


def crlf(text):
    return text.replace("\n", "\r\n").encode("cp1251")


def ini_value(path, section, key):
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


class CrashRecoveryTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tarvik-e2e-crash-")
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
        self.kill()
        shutil.rmtree(self.root, ignore_errors=True)

    def kill(self):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()
        self.proc = None

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

    def start(self, *args):
        self.proc = subprocess.Popen([self.exe, *args], cwd=self.root, env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_for(self, predicate, what, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            if predicate():
                return
            self.assertIsNone(self.proc.poll(), "the program ended early")
            time.sleep(0.05)
        self.fail(f"timed out waiting for {what}; log:\n{self.text('Tarvik.LOG')}")

    def wait_for_log(self, needle, count=1):
        self.wait_for(lambda: self.text("Tarvik.LOG").count(needle) >= count, repr(needle))

    def test_killed_connection_is_booked_once_at_the_next_start(self):
        self.line("add", "Home")
        day = "".join(f"Tar{d}=1\nTar{d}x0AH=00\nTar{d}x0AM=00\nTar{d}x0ZH=24\nTar{d}x0ZM=00\n"
                      f"Tar{d}x0Cost=03600\nTar{d}x0Name=Day\n" for d in range(7))
        with open(self.path("TarvikC.Kfg"), "wb") as f:
            f.write(crlf("[Olm:TK]\nShow=0\n[Default]\nFreeTime=0\n" + day))
        with open(self.path("TarvikA.Kfg"), "wb") as f:
            f.write(crlf("[Default]\nAccount=100\n"))

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
