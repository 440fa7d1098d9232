#!/usr/bin/env python3
"""The command lines that answer without starting anything: tarvik --help and --version with
no display while an instance runs, the tools' help, their default folder (the installed
program's data folder) and tarvik-report --events."""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import LINE, REPORT, ProgramDirTestCase  # noqa: E402


class CommandLineTest(ProgramDirTestCase):
    def run_tool(self, *args, env=None):
        return subprocess.run(list(args), capture_output=True, timeout=30, env=env or self.env)

    def test_help_version_and_the_data_folder(self):
        # An instance runs in the program folder; help and version must not reach it.
        self.start()
        self.wait_for_log(" StandBy.")
        log_before = self.read_bytes("Tarvik.LOG")
        no_display = {k: v for k, v in self.env.items()
                      if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for option in ("--help", "-h", "--version"):
            result = self.run_tool(self.exe, option, env=no_display)
            self.assertEqual(result.returncode, 0, (option, result.stderr))
            self.assertEqual(result.stderr, b"")
            expected = b"tarvik 4.0\n" if option == "--version" else b"Usage: tarvik "
            self.assertTrue(result.stdout.startswith(expected), result.stdout)
        self.assertIn("~/.local/share/Tarvik", self.run_tool(self.exe, "--help").stdout.decode())
        self.assertEqual(self.read_bytes("Tarvik.LOG"), log_before)
        self.assertIsNone(self.proc.poll(), "the running instance ended")

        # The tools say where they look without DIR, and look there.
        data = os.path.join(self.root, "data")
        home = dict(self.env, HOME=os.path.join(self.root, "home"), XDG_DATA_HOME=data)
        for tool in (LINE, REPORT):
            result = self.run_tool(tool, "--help", env=home)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn("~/.local/share/Tarvik", result.stdout.decode())
        self.assertEqual(self.run_tool(LINE, "add", "Мой провайдер", env=home).returncode, 0)
        self.assertEqual(self.run_tool(LINE, "entries", env=home).stdout.decode(),
                         "Мой провайдер\n")
        self.assertTrue(os.path.exists(os.path.join(data, "Tarvik", "simline.ini")))

        # The event log in UTF-8 with LF line ends; a control character cannot reach the
        # terminal. Without DIR, then the running program's own.
        with open(os.path.join(data, "Tarvik", "Tarvik.LOG"), "wb") as f:
            f.write("Tarvik «4» detailed log\r\n\r\n08.12.2026 12:00:00\r\n"
                    " Remote access: Мой\x1b[2J\r\n".encode("cp1251"))
        result = self.run_tool(REPORT, "--events", env=home)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode(), "Tarvik «4» detailed log\n\n"
                         "08.12.2026 12:00:00\n Remote access: Мой?[2J\n")
        own = self.run_tool(REPORT, self.dir, "--events").stdout.decode()
        self.assertTrue(own.startswith("Tarvik «4» detailed log\n"), own)
        self.assertIn("\n Starting application...\n", own)
        # A folder without an event log is an error like any file that cannot be read.
        missing = self.run_tool(REPORT, os.path.join(self.root, "home"), "--events")
        self.assertEqual(missing.returncode, 2)


if __name__ == "__main__":
    unittest.main()
