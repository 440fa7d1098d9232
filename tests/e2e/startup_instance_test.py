#!/usr/bin/env python3
"""Start-up and the one-instance rule, with the real program in a temporary program folder.

The lock lives in a private runtime folder (XDG_RUNTIME_DIR), so a Tarvik the user runs does
not interfere. Message boxes answer themselves through the TARVIK_TEST_DISMISS_MS test hook.
"""
import os
import signal
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase  # noqa: E402

REFUSED = b" Failed. One instance allowed only.\r\n New instance will be terminated.\r\n"


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

    def assert_refused(self, *args):
        before = len(self.log_bytes())
        p = self.start(*args)
        self.assertEqual(p.wait(timeout=30), 1)
        tail = self.log_bytes()[before:]
        self.assertIn(b" Starting application...\r\n", tail)
        self.assertTrue(tail.endswith(b" Initializing...\r\n" + REFUSED), tail)

    def test_first_start_writes_header_and_banner(self):
        self.start_running()
        log = self.log_bytes()
        self.assertTrue(log.startswith("Tarvik «4» detailed log\r\n\r\n".encode("cp1251")))
        self.assertIn(b" iD: TRK.2.4.0\r\n Arg: \r\n Path: " + self.dir.encode() + b"/\r\n",
                      log)
        self.assertIn(b" System: Linux ", log)
        self.assertTrue(os.path.exists(os.path.join(self.dir, "Velk.TxT")))

    def test_second_ordinary_start_refused_switches_not(self):
        self.start_running()
        self.assert_refused()
        self.assert_refused("/AUTO")  # not a switch: an ordinary start
        reboot = self.start_running("/reboot")
        self.assertIn(b" Arg: /reboot\r\n", self.log_bytes())
        self.assertIsNone(reboot.poll())

    def test_restarted_instance_still_blocks(self):
        old = self.start_running()
        self.start_running("/reboot")
        old.terminate()
        old.wait(timeout=10)
        self.assert_refused()

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

    def test_banner_is_written_before_a_display_is_needed(self):
        # No display at all: the banner reaches the log before the window system is asked.
        env = dict(self.env, QT_QPA_PLATFORM="xcb")
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        p = subprocess.Popen([self.exe], cwd=self.root, env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        self.procs.append(p)
        self.assertNotEqual(p.wait(timeout=30), 0)
        self.assertTrue(self.log_bytes().endswith(b" Initializing...\r\n"), self.log_bytes())

if __name__ == "__main__":
    unittest.main(verbosity=2)
