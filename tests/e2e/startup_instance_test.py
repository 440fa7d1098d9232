#!/usr/bin/env python3
"""Start-up and the one-instance rule, with the real program in a temporary program folder.

The lock lives in a private runtime folder (XDG_RUNTIME_DIR), so a Tarvik the user runs does
not interfere. Message boxes answer themselves through the TARVIK_TEST_DISMISS_MS test hook.
"""
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, ini_value, metered_config  # noqa: E402

REFUSED = b" Failed. One instance allowed only.\r\n New instance will be terminated.\r\n"
# A refused start that reached the running instance and had it show its window.
BROUGHT = b" Running instance brought forward.\r\n"


class StartupInstanceTest(ProgramDirTestCase):
    wait_seconds = 20

    def setUp(self):
        super().setUp()
        # Instances here may end on purpose, so none is start()'s watched one.
        self.procs = []

    def tearDown(self):
        for pid in self.instances():
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        for p in self.procs:
            if p.poll() is None:
                p.kill()
            p.wait()
        super().tearDown()

    # Every running copy of our binary, including instances the program started itself.
    def instances(self):
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                if os.readlink(f"/proc/{entry}/exe") == self.exe:
                    found.append(int(entry))
            except OSError:
                pass
        return found

    def log_bytes(self):
        return self.read_bytes("Tarvik.LOG")

    def start(self, *args):
        p = self.launch(*args)
        self.procs.append(p)
        return p

    def start_running(self, *args):
        """Starts an instance and waits until it has finished its start-up."""
        before = self.log_bytes().count(b" StandBy.\r\n")
        p = self.start(*args)
        self.wait_for(lambda: self.log_bytes().count(b" StandBy.\r\n") > before or
                      p.poll() is not None, "start-up")
        self.assertIsNone(p.poll(), "instance ended during start-up")
        return p

    def assert_refused(self, *args, brought=True):
        before = len(self.log_bytes())
        p = self.start(*args)
        self.assertEqual(p.wait(timeout=30), 1)
        tail = self.log_bytes()[before:]
        self.assertIn(b" Starting application...\r\n", tail)
        self.assertTrue(tail.endswith(b" Initializing...\r\n" + REFUSED + (BROUGHT if brought else b"")),
                        tail)

    def test_first_start_writes_header_and_banner(self):
        self.start_running()
        log = self.log_bytes()
        self.assertTrue(log.startswith("Tarvik «4» detailed log\r\n\r\n".encode("cp1251")))
        self.assertIn(b" iD: TRK.2.4.0\r\n Arg: \r\n Path: " + self.dir.encode() + b"/\r\n",
                      log)
        self.assertIn(b" System: Linux ", log)
        self.assertTrue(os.path.exists(os.path.join(self.dir, "Velk.TxT")))

    def test_second_ordinary_start_refused_switches_not(self):
        first = self.start_running()
        self.assert_refused()
        # A restart is not refused, but it meters only once its predecessor has gone.
        reboot = self.start("/reboot")
        self.wait_for(lambda: b" Arg: /reboot\r\n" in self.log_bytes(), "restart banner")
        self.assert_refused("/AUTO")  # not a switch: an ordinary start
        self.assertEqual(self.log_bytes().count(b" StandBy.\r\n"), 1)
        self.assertIsNone(reboot.poll())
        first.terminate()
        first.wait(timeout=10)
        self.wait_for(lambda: self.log_bytes().count(b" StandBy.\r\n") == 2, "restart start-up")
        self.assertIsNone(reboot.poll())

    def test_restarted_instance_still_blocks(self):
        old = self.start_running()
        reboot = self.start("/reboot")
        self.wait_for(lambda: b" Arg: /reboot\r\n" in self.log_bytes(), "restart banner")
        old.terminate()
        old.wait(timeout=10)
        self.wait_for(lambda: self.log_bytes().count(b" StandBy.\r\n") == 2, "restart start-up")
        self.assert_refused()
        self.assertIsNone(reboot.poll())

    def test_killed_instance_does_not_block(self):
        only = self.start_running()
        only.send_signal(signal.SIGKILL)
        only.wait(timeout=10)
        self.start_running()

    def test_delayed_auto_start_reinitializes(self):
        self.write_config("TarvikC.Kfg", "[Olm:TK]\nPause=1000\n")
        auto = self.start_running("/auto")
        self.assertEqual(auto.wait(timeout=20), 0)
        self.wait_for(lambda: b" ReInitializing...\r\n" in self.log_bytes(), "reinitialize")
        self.wait_for(lambda: self.log_bytes().count(b" StandBy.\r\n") == 2, "second start-up")
        self.assertEqual(len(self.instances()), 1)
        self.assert_refused()


    def test_read_only_settings_file_does_not_end_the_start(self):
        self.write_config("TarvikC.Kfg", "[Olm:TK]\n[UpDate]\nDay=01.01\nWeek=01\nMonth=01\n")
        os.chmod(self.path("TarvikC.Kfg"), 0o444)
        p = self.start_running()
        log = self.log_bytes()
        self.assertIn(b" Failed saving settings.\r\n", log)
        self.assertNotIn(b" Failed. System exception", log)
        self.assertIsNone(p.poll())

    def test_without_a_display_one_line_and_exit_status_1(self):
        # No display at all: the banner reaches the log before the window system is asked, and
        # the program ends with one line on stderr instead of an abort; the same without a
        # platform chosen and with a Wayland socket name that leads nowhere.
        for platform in ("xcb", None):
            env = dict(self.env, WAYLAND_DISPLAY="wayland-none")
            env.pop("DISPLAY", None)
            env.pop("QT_QPA_PLATFORM")
            if platform:
                env["QT_QPA_PLATFORM"] = platform
            p = subprocess.run([self.exe], cwd=self.root, env=env, capture_output=True,
                               timeout=30)
            self.assertEqual(p.returncode, 1)
            self.assertEqual(len(p.stderr.decode().splitlines()), 1, p.stderr)
            self.assertIn(b"no display", p.stderr)
            self.assertTrue(self.log_bytes().endswith(
                b" Initializing...\r\n Failed. No display to show the program on.\r\n"
                b" Application will be terminated.\r\n"), self.log_bytes())

    # --- the lock's place and the program directory's own lock ---

    def run_call(self, seconds=2):
        """One call on "Home", booked once it ends."""
        before = self.log_bytes().count(b" Account value: ")
        self.line("dial", "Home")
        self.wait_for(lambda: b" Connection established.\r\n" in self.log_bytes(), "connect")
        time.sleep(seconds)
        self.line("hangup")
        self.wait_for(lambda: self.log_bytes().count(b" Account value: ") > before, "booking")

    def test_runtime_folder_made_after_the_first_start_still_blocks(self):
        runtime = os.path.join(self.root, "not-yet", "runtime")
        self.env["XDG_RUNTIME_DIR"] = runtime
        self.line("add", "Home")
        self.write_config("TarvikC.Kfg", metered_config())
        self.start_running()
        os.makedirs(runtime, exist_ok=True)  # as the toolkit does when it finds it missing
        self.assert_refused()
        self.run_call()
        self.assertEqual(ini_value(self.path("TarvikS.Kfg"), "Default", "CountTT"), "1")
        self.assertEqual(len(self.instances()), 1)

    def test_one_instance_per_program_folder_whatever_the_runtime_folder(self):
        # The first start cannot lock anything in its runtime folder (its parent is a file,
        # which stops root as well) and says so; a start from another session's runtime folder
        # still finds the program folder taken.
        blocker = os.path.join(self.root, "plain-file")
        with open(blocker, "w") as f:
            f.write("x")
        self.env["XDG_RUNTIME_DIR"] = os.path.join(blocker, "runtime")
        self.start_running()
        failed = (" Failed. Instance lock not available: " + blocker + "/runtime/TRK_2_4_x.lock (")
        self.assertIn(failed.encode(), self.log_bytes())
        self.env["XDG_RUNTIME_DIR"] = self.runtime
        # The running instance has no door either: the message says that it runs.
        self.assert_refused(brought=False)
        self.assertEqual(len(self.instances()), 1)

    def test_without_a_runtime_folder_the_lock_is_the_users_own(self):
        # A lock of the same name in the shared /tmp (anyone may make one there) blocks nothing;
        # the user's own lock still keeps a second copy of the program from starting.
        home = os.path.join(self.root, "home")
        os.mkdir(home)
        del self.env["XDG_RUNTIME_DIR"]
        self.env["HOME"] = home
        shared = f"/tmp/TRK_2_4_x-{os.getuid()}.lock"
        if not os.path.exists(shared):
            self.addCleanup(os.remove, shared)
        fd = os.open(shared, os.O_RDWR | os.O_CREAT, 0o600)
        self.addCleanup(os.close, fd)
        fcntl.flock(fd, fcntl.LOCK_EX)
        self.start_running()
        self.assertTrue(os.path.exists(os.path.join(home, ".cache", "TRK_2_4_x.lock")))
        other = os.path.join(self.root, "prog2")
        os.mkdir(other)
        shutil.copy2(self.exe, os.path.join(other, "tarvik"))
        p = subprocess.Popen([os.path.join(other, "tarvik")], cwd=self.root, env=self.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(p)
        self.assertEqual(p.wait(timeout=30), 1)
        with open(os.path.join(other, "Tarvik.LOG"), "rb") as f:
            self.assertTrue(f.read().endswith(REFUSED + BROUGHT))


if __name__ == "__main__":
    unittest.main(verbosity=2)
