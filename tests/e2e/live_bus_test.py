#!/usr/bin/env python3
"""The live interface on the session bus end to end, on a private bus of its own: while the
simulated line is up the properties tell the connection, changes arrive as PropertiesChanged
(and as tarvik-report --watch lines), and the HangUp method hangs up and books the connection
as the tray menu's item does. On a virtual X display, ShowStatusWindow shows the hidden window,
OpenSettings opens the dialog on the page asked for and OpenStatistics on the statistics.
"""
import json
import os
import shutil
import subprocess
import sys
import threading
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import REPORT, ProgramDirTestCase, ini_value, metered_config  # noqa: E402

SERVICE = "org.tarvik.Meter"
PATH = "/org/tarvik/Meter"


class LinesOf:
    """Collects the output lines of a long-running process in the background."""

    def __init__(self, args, env):
        self.proc = subprocess.Popen(args, env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True)
        self.lines = []
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.append(line.rstrip("\n"))

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
        self.proc.wait()
        self.proc.stdout.close()


class LiveBusTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-bus-"

    def gdbus(self, *args):
        result = subprocess.run(["gdbus", "call", "--session", "--dest", SERVICE,
                                 "--object-path", PATH, *args],
                                capture_output=True, text=True, timeout=10, env=self.env)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.strip()

    def prop(self, name):
        return self.gdbus("--method", "org.freedesktop.DBus.Properties.Get", SERVICE, name)

    def test_properties_signals_watch_and_hang_up(self):
        # Before the program runs, --watch says so and fails.
        absent = subprocess.run([REPORT, "--watch"], capture_output=True, text=True,
                                timeout=10, env=self.env)
        self.assertEqual(absent.returncode, 2)
        self.assertIn("not running", absent.stderr)

        self.line("add", "Home")
        self.write_config("TarvikC.Kfg", metered_config())
        self.write_config("TarvikA.Kfg", "[Default]\nAccount=100\n")
        self.start()
        self.wait_for_log(" StandBy.\r\n")
        self.wait_for(lambda: subprocess.run(
            ["gdbus", "introspect", "--session", "--dest", SERVICE, "--object-path", PATH],
            capture_output=True, env=self.env).returncode == 0, "the bus name")
        introspection = subprocess.run(
            ["gdbus", "introspect", "--session", "--dest", SERVICE, "--object-path", PATH],
            capture_output=True, text=True, env=self.env).stdout
        for member in ("HangUp", "ShowStatusWindow", "OpenSettings", "OpenStatistics",
                       "readonly s State", "readonly d Balance", "readonly t Received"):
            self.assertIn(member, introspection)
        self.assertEqual(self.prop("State"), "(<'offline'>,)")

        monitor = LinesOf(["gdbus", "monitor", "--session", "--dest", SERVICE], self.env)
        watch = LinesOf([REPORT, "--watch", "--format", "json"], self.env)
        self.addCleanup(monitor.stop)
        self.addCleanup(watch.stop)
        self.wait_for(lambda: watch.lines, "the first --watch line")
        self.assertEqual(json.loads(watch.lines[0])["class"], "offline")

        dialled = time.monotonic()
        self.line("dial", "Home", "--auth", "1", "--rate", "20000")
        self.wait_for_log(" Connection established.\r\n")
        time.sleep(3)
        self.assertEqual(self.prop("State"), "(<'online'>,)")
        self.assertEqual(self.prop("Entry"), "(<'Default'>,)")
        self.assertEqual(self.prop("Price"), "(<36.0>,)")  # 3600 hundredths an hour
        self.assertEqual(self.prop("Currency"), "(<'$'>,)")
        # The balance reads as the decimal the account holds, not its float's binary tail.
        hundredths = float(self.prop("Balance").strip("(<>,)")) * 100
        self.assertAlmostEqual(hundredths, round(hundredths), places=6)
        seconds = int(self.prop("SecondsOnline").strip("(<>,)").split()[-1])
        self.assertTrue(2 <= seconds <= 10, seconds)
        received = int(self.prop("Received").strip("(<>,)").split()[-1])
        self.assertGreater(received, 0)

        # Changes while online: the state at once, then the seconds at most once a second.
        signals = [l for l in monitor.lines if "PropertiesChanged" in l]
        self.assertTrue(any("'State': <'online'>" in l for l in signals), monitor.lines)
        ticks = [l for l in signals if "SecondsOnline" in l]
        self.assertGreaterEqual(len(ticks), 2, signals)
        # Seconds, cost and bytes change at different moments, yet go out together: no more than
        # one announcement a second besides the two changes of state (authenticating, online).
        self.assertLessEqual(len(signals), time.monotonic() - dialled + 2, signals)
        online = [json.loads(l) for l in watch.lines if '"class":"online"' in l]
        self.assertTrue(online, watch.lines)
        self.assertEqual(online[-1]["entry"], "Default")
        self.assertGreater(online[-1]["seconds_online"], 0)

        self.gdbus("--method", f"{SERVICE}.HangUp")
        self.wait_for_log(" Account value: ")
        self.assertIn(" Disconnected.\r\n", self.log())
        self.assertEqual(ini_value(self.path("TarvikS.Kfg"), "Default", "CountTT"), "1")
        self.wait_for(lambda: json.loads(watch.lines[-1])["class"] == "offline",
                      "an offline --watch line")
        self.assertEqual(self.prop("State"), "(<'offline'>,)")

        # When the program ends, --watch says so and ends too.
        self.kill()
        watch.proc.wait(timeout=10)
        self.assertEqual(watch.proc.returncode, 2)

    @unittest.skipIf(not all(shutil.which(t) for t in ("Xvfb", "icewm", "xdotool")),
                     "needs Xvfb, icewm and xdotool")
    def test_window_methods_show_the_window_and_open_the_dialog_on_its_page(self):
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-nolisten", "tcp"],
                                pass_fds=[write_fd], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            display = ":" + f.readline().strip()
        self.addCleanup(lambda: (xvfb.terminate(), xvfb.wait()))
        widget_map = os.path.join(self.root, "widgets.txt")
        self.env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", TARVIK_TEST_WIDGET_MAP=widget_map)
        # Its tray: without one the status window would stand in for the icon from the start.
        icewm = subprocess.Popen(["icewm"], env=self.env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (icewm.terminate(), icewm.wait()))
        time.sleep(1)
        self.line("add", "Home")
        self.write_config("TarvikC.Kfg", metered_config())
        self.start()
        self.wait_for_log(" StandBy.\r\n")
        self.wait_for(lambda: subprocess.run(
            ["gdbus", "introspect", "--session", "--dest", SERVICE, "--object-path", PATH],
            capture_output=True, env=self.env).returncode == 0, "the bus name")

        def visible(name):
            return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                                  env=self.env, capture_output=True, text=True).stdout.split()

        def mapped(control):
            try:
                with open(widget_map, encoding="utf-8") as f:
                    return any(line.split(" ", 1)[0] == control for line in f)
            except FileNotFoundError:
                return False

        time.sleep(1.5)  # past the moment a start with Show=1 would show it
        self.assertEqual(visible("^Tarvik$"), [])
        self.gdbus("--method", f"{SERVICE}.ShowStatusWindow")
        self.wait_for(lambda: visible("^Tarvik$"), "the status window")
        self.gdbus("--method", f"{SERVICE}.OpenSettings", "6")
        self.wait_for(lambda: mapped("o_week"), "the tariff page")
        self.assertFalse(mapped("p_tim"))
        self.gdbus("--method", f"{SERVICE}.OpenStatistics")
        self.wait_for(lambda: mapped("p_tim") and not mapped("o_week"), "the statistics page")


if __name__ == "__main__":
    # A private session bus: the test never meets a Tarvik the user runs.
    if os.environ.get("TARVIK_TEST_OWN_BUS") != "1":
        if not shutil.which("dbus-run-session") or not shutil.which("gdbus"):
            print("dbus-run-session or gdbus missing")
            sys.exit(77)
        os.environ["TARVIK_TEST_OWN_BUS"] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    unittest.main()
