"""What the end-to-end tests share: the binaries under test, the program's INI files in code
page 1251 with CRLF lines, and a test case that runs the real program from a temporary program
folder of its own.

Not named *_test.py on purpose: ctest runs every such script in this folder as a test.
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
# Built beside tarvik-line.
REPORT = os.environ.get("TARVIK_REPORT", os.path.join(os.path.dirname(LINE), "tarvik-report"))
LOG = "Tarvik.LOG"

# One tariff period over the whole week, so the meter has a price to work with: 3600
# hundredths an hour (one a second), charged from the first second.
DAY_PLAN = "".join(f"Tar{d}=1\nTar{d}x0AH=00\nTar{d}x0AM=00\nTar{d}x0ZH=24\nTar{d}x0ZM=00\n"
                   f"Tar{d}x0Cost=03600\nTar{d}x0Name=Day\n" for d in range(7))


def crlf(text):
    return text.replace("\n", "\r\n").encode("cp1251")


def metered_config(settings=""):
    """A TarvikC.Kfg with the status window hidden, no free time, `settings` in [Default]
    and DAY_PLAN."""
    return "[Olm:TK]\nShow=0\n[Default]\nFreeTime=0\n" + settings + DAY_PLAN


def stop_processes(procs):
    """Ends what a test started, newest first: politely, then by force after 5 s."""
    for p in reversed(procs):
        if p.poll() is None:
            p.send_signal(signal.SIGTERM)
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()


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


class ProgramDirTestCase(unittest.TestCase):
    """A copy of the program in root/prog, with a private XDG_RUNTIME_DIR (root/runtime) so that
    its one-instance lock never meets a Tarvik the user runs. Message boxes answer themselves
    through the TARVIK_TEST_DISMISS_MS hook; the C locale fixes the decimal point."""

    prefix = "tarvik-e2e-"
    wait_seconds = 30  # default for wait_for and wait_for_log

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix=self.prefix)
        self.dir = os.path.join(self.root, "prog")
        self.runtime = os.path.join(self.root, "runtime")
        os.mkdir(self.dir)
        os.mkdir(self.runtime, 0o700)
        self.exe = os.path.join(self.dir, "tarvik")
        shutil.copy2(BIN, self.exe)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="offscreen",
                        TARVIK_TEST_DISMISS_MS="200", LC_ALL="C", LANG="C")
        self.proc = None  # the instance that start() ran and wait_for watches

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

    def read_bytes(self, name):
        try:
            with open(self.path(name), "rb") as f:
                return f.read()
        except FileNotFoundError:
            return b""

    def text(self, name):
        return self.read_bytes(name).decode("cp1251")

    def log(self):
        return self.text(LOG)

    def write_config(self, name, text):
        with open(self.path(name), "wb") as f:
            f.write(crlf(text))

    def line(self, *args):
        """Runs tarvik-line on the program folder; it must succeed. Returns its output."""
        result = subprocess.run([LINE, self.dir, *args], capture_output=True, timeout=30)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.decode()

    def launch(self, *args):
        return subprocess.Popen([self.exe, *args], cwd=self.root, env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self, *args):
        self.proc = self.launch(*args)
        return self.proc

    def wait_for(self, predicate, what, timeout=None):
        """Polls `predicate`; fails with the log on timeout, or at once if start()'s
        instance has ended."""
        end = time.time() + (self.wait_seconds if timeout is None else timeout)
        while time.time() < end:
            if predicate():
                return
            if self.proc is not None:
                # The log says why: an escaped exception leaves its message there.
                self.assertIsNone(self.proc.poll(), f"the program ended early; log:\n{self.log()}")
            time.sleep(0.05)
        self.fail(f"timed out waiting for {what}; log:\n{self.log()}")

    def wait_for_log(self, needle, count=1, timeout=None):
        self.wait_for(lambda: self.log().count(needle) >= count, repr(needle), timeout)
