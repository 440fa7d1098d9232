#!/usr/bin/env python3
"""Desktops as people have them: the real program on a virtual X display without a
notification area, once with no window manager at all and once under twm, which reads none of
the window hints; and on a headless Wayland compositor through XWayland.

Without a notification area the status window is the way into the program: it shows although
"Show" is off, never hides, its menu reaches the settings and the exit, a balloon appears beside
it, and a second start brings the running program forward instead of only being refused. A
tray that comes later brings the usual hiding back.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, stop_processes  # noqa: E402

X_TOOLS = ["Xvfb", "twm", "icewm", "xdotool", "xwininfo"]
WAYLAND_TOOLS = ["weston", "Xwayland", "weston-debug", "xdotool", "xwininfo"]
FACE = "[Olm:TK]\nFade=0\n"
SETTINGS = "^Настройки"


def missing(tools):
    return [t for t in tools if shutil.which(t) is None]


class DesktopCase(ProgramDirTestCase):
    """The program on a display of the test's own, with no session bus: no notification
    service and no StatusNotifier host."""

    prefix = "tarvik-e2e-desktop-"

    def setUp(self):
        super().setUp()
        self.procs = []
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env["QT_QPA_PLATFORM"] = "xcb"

    def tearDown(self):
        stop_processes(self.procs)
        super().tearDown()

    def start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self.procs.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "800x600x24", "-nolisten",
             "tcp"], pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            self.env["DISPLAY"] = ":" + f.readline().strip()

    def tool(self, *args):
        # UTF-8, so that window names in Russian can be searched for.
        return subprocess.run(args, env=dict(self.env, LC_ALL="C.UTF-8"), capture_output=True,
                              text=True, timeout=20).stdout

    def visible(self, name, seconds=30, shown=True):
        """The id of a visible window whose name matches `name` (a regular expression), or
        None; with `shown` False, whether none is left. Names are matched here: xdotool's own
        search misses those in Russian."""
        deadline = time.time() + seconds
        while True:
            found = [w for w in self.tool("xdotool", "search", "--onlyvisible", "--name", "")
                     .split() if re.search(name, self.tool("xdotool", "getwindowname", w))]
            if bool(found) == shown or time.time() > deadline:
                if not shown:
                    return not found
                return found[0] if found else None
            time.sleep(0.2)

    def info(self, window):
        found = {}
        for line in self.tool("xwininfo", "-id", window).splitlines():
            if ":" in line:
                key, value = line.split(":", 1)
                found[key.strip()] = value.strip()
        return found

    def geometry(self, window):
        i = self.info(window)
        return (int(i["Absolute upper-left X"]), int(i["Absolute upper-left Y"]), int(i["Width"]),
                int(i["Height"]))

    def run_program(self, config, *args):
        self.write_config("TarvikC.Kfg", config)
        self.line("add", "Provider")
        self.start(*args)
        self.procs.append(self.proc)
        self.wait_for_log(" StandBy.\r\n", timeout=90)
        window = self.visible("^Tarvik$")
        self.assertIsNotNone(window, f"the status window never appeared; log:\n{self.log()}")
        time.sleep(0.5)
        return window

    def menu(self, window, *keys):
        """Opens the status window's menu and presses `keys`."""
        x, y, _, _ = self.geometry(window)
        self.tool("xdotool", "mousemove", str(x + 60), str(y + 15), "click", "3")
        time.sleep(0.7)
        for key in keys:
            self.tool("xdotool", "key", key)
            time.sleep(0.2)

    def second_start(self, *args):
        before = self.log().count(" Running instance brought forward.")
        p = self.launch(*args)
        self.assertEqual(p.wait(timeout=30), 1)
        self.assertEqual(self.log().count(" Running instance brought forward."), before + 1)


@unittest.skipIf(missing(X_TOOLS), "needs " + " ".join(X_TOOLS))
class WithoutNotificationAreaTest(DesktopCase):
    def test_bare_display_keeps_the_window_and_shows_balloons_beside_it(self):
        self.start_xvfb()
        window = self.run_program(FACE + "Show=0\nO=1\nX=300\nY=450\nHelpTime=3\n"
                                  "[Provider]\nDone=1\nStatusWait=1\n")
        self.assertEqual(self.log().count(" Notification area: none.\r\n"), 1)
        # No window manager: the window places itself exactly where it was stored.
        self.assertEqual(self.geometry(window)[:2], (300, 450))

        # A call ends: its summary appears beside the window, goes after "HelpTime", and the
        # window stays although the entry hides it one second after a disconnection.
        self.line("dial", "Provider", "--auth", "0")
        self.wait_for_log(" Connection established.\r\n")
        self.line("hangup")
        popup = self.visible("^Provider")
        self.assertIsNotNone(popup, "no balloon without a notification service or tray")
        px, py, pw, ph = self.geometry(popup)
        self.assertLessEqual(py + ph, 450)  # above the window, where there is room
        self.assertTrue(self.visible("^Provider", 15, shown=False), "the balloon did not go")
        self.assertEqual(self.visible("^Tarvik$", 0), window)

        # A tray comes (icewm holds one): "Статус   [скрыть]" hides the window again, which
        # comes back when the tray goes.
        tray = subprocess.Popen(["icewm"], env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.procs.append(tray)
        self.wait_for_log(" Notification area: available.\r\n")
        self.menu(window, "Down", "Down", "Down", "Return")
        mapped = lambda: "IsViewable" in self.tool("xwininfo", "-id", window)  # noqa: E731
        self.wait_for(lambda: not mapped(), "hiding with a tray")
        stop_processes([tray])
        self.wait_for_log(" Notification area: none.\r\n", count=2)
        self.wait_for(mapped, "the window back without a tray")

        # A second start with /settings brings the settings dialog up; the menu's first item
        # from the bottom ends the program.
        self.second_start("/settings")
        self.assertIsNotNone(self.visible(SETTINGS), "the settings dialog did not open")
        self.menu(window, "Up", "Return")
        self.assertEqual(self.proc.wait(timeout=15), 0)

    @unittest.skipIf(missing(["twm"]), "needs twm")
    def test_twm_gives_no_title_bar_and_a_second_start_shows_the_window(self):
        self.start_xvfb()
        self.procs.append(subprocess.Popen(["twm"], env=self.env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        time.sleep(1)
        window = self.run_program(FACE)
        # The default place, 99 x 56 from the bottom-right corner, and nothing of twm around
        # the window: it is not a frame's child.
        x, y, w, h = self.geometry(window)
        self.assertEqual((x, y), (800 - 99, 600 - 56))
        self.assertIn("Override Redirect State: yes", self.tool("xwininfo", "-id", window))
        # The menu's "Статус   [показать]" shows an already shown window; the menu opens its
        # settings (sixth from the bottom).
        self.menu(window, "Up", "Up", "Up", "Up", "Up", "Up", "Return")
        settings = self.visible(SETTINGS)
        self.assertIsNotNone(settings, "the menu did not reach the settings")
        self.tool("xdotool", "key", "--window", settings, "Escape")
        self.second_start()
        self.assertEqual(self.visible("^Tarvik$"), window)


@unittest.skipIf(missing(WAYLAND_TOOLS), "needs " + " ".join(WAYLAND_TOOLS))
class XWaylandTest(DesktopCase):
    def start_weston(self):
        runtime = tempfile.mkdtemp(prefix="weston-", dir=self.root)
        os.chmod(runtime, 0o700)
        try:  # XWayland's socket folder, which nothing but an X server may have made yet
            os.makedirs("/tmp/.X11-unix", mode=0o1777, exist_ok=True)
        except OSError as e:
            self.skipTest(f"cannot make /tmp/.X11-unix: {e}")
        log = os.path.join(self.root, "weston.log")
        env = dict(self.env, XDG_RUNTIME_DIR=runtime)
        env.pop("DISPLAY", None)
        # --debug offers the scene graph to weston-debug.
        self.procs.append(subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--xwayland", "--debug",
             "--socket=wl-tarvik", "--width=800", "--height=600", "--log=" + log],
            env=env, cwd=self.root, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        deadline = time.time() + 20
        display = None
        while display is None and time.time() < deadline:
            time.sleep(0.2)
            if os.path.exists(log):
                with open(log) as f:
                    found = re.search(r"xserver listening on display (:\d+)", f.read())
                display = found and found.group(1)
        self.assertIsNotNone(display, "weston did not start XWayland")
        self.wayland_env = dict(env, WAYLAND_DISPLAY="wl-tarvik")
        self.env.update(DISPLAY=display, WAYLAND_DISPLAY=os.path.join(runtime, "wl-tarvik"),
                        XDG_SESSION_TYPE="wayland")
        self.env.pop("QT_QPA_PLATFORM")  # the program's own choice, as in a desktop session

    def scene(self):
        """The compositor's scene graph: (layer position, view position, opaque) per view."""
        out = subprocess.run(["weston-debug", "scene-graph"], env=self.wayland_env,
                             capture_output=True, text=True, timeout=20).stdout
        views, layer = [], None
        for line in out.splitlines():
            found = re.match(r"Layer \d+ \(pos (0x[0-9a-f]+)\)", line)
            if found:
                layer = int(found.group(1), 16)
            found = re.match(r"\s+position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)", line)
            if found and layer is not None:
                views.append([layer, tuple(int(v) for v in found.groups()), None])
            if views and line.strip() in ("[fully opaque]", "[not opaque]"):
                views[-1][2] = line.strip() == "[fully opaque]"
        return views

    def test_window_lands_at_its_place_cut_to_its_outline_above_the_others(self):
        self.start_weston()
        window = self.run_program(FACE + "O=1\nX=300\nY=200\n")
        self.assertEqual(self.geometry(window), (300, 200, 99, 26))
        # The compositor shows it exactly there, with no frame or shadow of its own around it,
        # above the layer of ordinary windows, and not opaque: the transparent pixels outside
        # the outline cut it (and keep the first frames from being black).
        views = [v for v in self.scene() if v[1] == (300, 200, 399, 226)]
        self.assertEqual(len(views), 1, self.scene())
        layer, _, opaque = views[0]
        self.assertGreater(layer, 0x50000000)  # weston's layer of ordinary windows
        self.assertIs(opaque, False)

    def test_native_wayland_runs_and_says_once_what_it_cannot_do(self):
        self.start_weston()
        del self.env["DISPLAY"]
        self.env["QT_QPA_PLATFORM"] = "wayland"
        self.write_config("TarvikC.Kfg", "[Olm:TK]\n")  # fades on
        errors = open(os.path.join(self.root, "stderr.txt"), "w+")
        self.addCleanup(errors.close)
        self.proc = subprocess.Popen([self.exe], cwd=self.root, env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=errors)
        self.procs.append(self.proc)
        self.wait_for_log(" StandBy.\r\n")
        time.sleep(3)  # the window is shown a second after the start
        self.assertIsNone(self.proc.poll())
        log = self.log()
        self.assertEqual(log.count(" Desktop refuses window placement, shaping, staying on top, "
                                   "opacity.\r\n"), 1, log)
        self.assertEqual(log.count(" Notification area: none.\r\n"), 1, log)
        errors.seek(0)
        stderr = errors.read()
        self.assertNotIn("systemTrayWindowChanged", stderr)
        self.assertNotIn("window opacity", stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
