#!/usr/bin/env python3
"""The status window under a real window manager: the real program on a virtual X display
with icewm (window manager and tray). The window must be mapped at its corner, stay out of
the taskbar and above other windows, be cut to the skin's outline, follow a drag with edge
snapping and store its new position, and its fades must reach a compositor step by step.
"""
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ProgramDirTestCase, stop_processes  # noqa: E402

TOOLS = ["Xvfb", "icewm", "xcompmgr", "xdotool", "xprop", "xwininfo", "import", "convert",
         "xsetroot"]
DESKTOP = "#204060"


def missing_tools():
    return [t for t in TOOLS if shutil.which(t) is None]


@unittest.skipIf(missing_tools(), "needs " + " ".join(TOOLS))
class StatusWindowTest(ProgramDirTestCase):
    prefix = "tarvik-e2e-status-"

    def setUp(self):
        super().setUp()
        self.procs = []
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "800x600x24",
                                 "-nolisten", "tcp"], pass_fds=[write_fd],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(xvfb)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            display = ":" + f.readline().strip()
        self.env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb")
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.procs.append(subprocess.Popen(["icewm"], env=self.env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        time.sleep(1)
        self.run_tool("xsetroot", "-solid", DESKTOP)

    def tearDown(self):
        stop_processes(self.procs)
        super().tearDown()

    def run_tool(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True,
                              timeout=20).stdout

    def start_program(self, config):
        self.write_config("TarvikC.Kfg", config)
        self.line("add", "Provider")
        self.procs.append(subprocess.Popen(["./tarvik"], cwd=self.dir, env=self.env,
                                           stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        deadline = time.time() + 15
        while time.time() < deadline:
            ids = self.run_tool("xdotool", "search", "--onlyvisible", "--name", "^Tarvik$").split()
            if ids:
                time.sleep(0.5)
                return ids[0]
            time.sleep(0.1)
        self.fail("the status window never appeared")

    def geometry(self, window):
        info = {}
        for line in self.run_tool("xwininfo", "-id", window).splitlines():
            if ":" in line:
                key, value = line.split(":", 1)
                info[key.strip()] = value.strip()
        return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
                int(info["Width"]), int(info["Height"]))

    def pixel(self, x, y):
        shot = os.path.join(self.root, "shot.png")
        self.run_tool("import", "-window", "root", shot)
        out = subprocess.run(["convert", shot, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8",
                              "txt:-"], capture_output=True, text=True).stdout
        return out.split()[-2] if "#" in out else out

    def read_key(self, key):
        for line in self.text("TarvikC.Kfg").splitlines():
            if line.lower().startswith(key.lower() + "="):
                return line.split("=", 1)[1]
        return None

    def test_window_placement_hints_outline_and_drag(self):
        window = self.start_program("[Olm:TK]\nO=1\nX=300\nY=200\nFade=0\n")
        x, y, w, h = self.geometry(window)
        self.assertEqual((x, y, w, h), (300, 200, 99, 26))  # the advanced skin, compact

        state = self.run_tool("xprop", "-id", window, "_NET_WM_STATE")
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", state)
        self.assertIn("_NET_WM_STATE_ABOVE", state)

        # The rounded top-left corner is cut away; the middle is the window's face.
        self.assertEqual(self.pixel(x + 1, y + 1).upper(), DESKTOP.upper())
        self.assertNotEqual(self.pixel(x + 60, y + 20).upper(), DESKTOP.upper())

        # Dragged by its face to 10 pixels from the left edge, it snaps to the edge.
        self.run_tool("xdotool", "mousemove", str(x + 60), str(y + 20), "mousedown", "1")
        for step in range(1, 11):
            self.run_tool("xdotool", "mousemove", str(x + 60 - 35 * step), str(y + 20 + 5 * step))
            time.sleep(0.03)
        time.sleep(0.2)
        self.run_tool("xdotool", "mouseup", "1")
        time.sleep(0.5)
        nx, ny, _, _ = self.geometry(window)
        self.assertEqual(nx, 0)
        self.assertEqual(ny, y + 50)
        self.assertEqual(self.read_key("X"), "0")
        self.assertEqual(self.read_key("Y"), str(y + 50))

        # Dropped on the panel at the bottom: the window stays above it and the stored
        # position is where it really is.
        area = [int(v) for v in self.run_tool("xprop", "-root", "_NET_WORKAREA")
                .split("=")[1].split(",")[:4]]
        free_bottom = area[1] + area[3]
        self.assertLess(free_bottom, 600, "icewm's panel should take the bottom of the screen")
        self.run_tool("xdotool", "mousemove", "60", str(ny + 20), "mousedown", "1")
        for step in range(1, 11):
            self.run_tool("xdotool", "mousemove", "60", str(ny + 20 + 40 * step))
            time.sleep(0.03)
        time.sleep(0.2)
        self.run_tool("xdotool", "mouseup", "1")
        time.sleep(0.5)
        _, by, _, bh = self.geometry(window)
        self.assertEqual(by, free_bottom - bh)
        self.assertEqual(self.read_key("Y"), str(by))

    def opacity(self, window):
        """_NET_WM_WINDOW_OPACITY on the 0-255 scale of the settings, None when absent."""
        out = self.run_tool("xprop", "-id", window, "_NET_WM_WINDOW_OPACITY")
        if "=" not in out:
            return None
        value = int(out.split("=")[1].strip())
        return value // 0x01010101 if value % 0x01010101 == 0 else value / 0x01010101

    def watch_fade(self, window, end, seconds=4):
        """The opacities seen until `end` is reached (or the time is up)."""
        seen = []
        deadline = time.time() + seconds
        while time.time() < deadline:
            level = self.opacity(window)
            if not seen or seen[-1] != level:
                seen.append(level)
            if level == end:
                break
            time.sleep(0.02)
        return seen

    def visible_window(self, seconds=10):
        deadline = time.time() + seconds
        while time.time() < deadline:
            ids = self.run_tool("xdotool", "search", "--onlyvisible", "--name", "^Tarvik$").split()
            if ids:
                return ids[0]
            time.sleep(0.05)
        return None

    def test_fades_reach_a_compositor_and_end_exactly(self):
        # The compositor shows windows as _NET_WM_WINDOW_OPACITY says; a fade that is not
        # flushed leaves the window invisible until the pointer happens to cross it.
        self.procs.append(subprocess.Popen(["xcompmgr"], env=self.env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        window = self.start_program("[Olm:TK]\nO=1\nX=300\nY=200\nTransparent=1\n"
                                    "Opacity=25\n[Provider]\nDone=1\n")
        # Fade-in from invisible at the default speed (about a second) up to 75 % exactly.
        seen = self.watch_fade(window, 191)
        self.assertEqual(seen[-1], 191, seen)
        self.assertTrue([level for level in seen if level and 0 < level < 191], seen)

        # Hidden by the menu ("Статус   [скрыть]"), it fades out to nothing and is unmapped.
        self.menu_keys(window, "Down", "Down", "Down", "Return")
        deadline = time.time() + 5
        while time.time() < deadline and self.visible_window(0.1):
            time.sleep(0.1)
        self.assertIsNone(self.visible_window(0.1))

        # Transparency switched off by hand; a connection shows the window again, which reads
        # the settings anew and ends fully opaque.
        self.write_config("TarvikC.Kfg", "[Olm:TK]\nO=1\nX=300\nY=200\nTransparent=0\n"
                                         "[Provider]\nDone=1\n")
        self.line("dial", "Provider", "--auth", "0.2")
        window = self.visible_window()
        self.assertIsNotNone(window, "a connection did not show the window")
        seen = self.watch_fade(window, 255)
        self.assertEqual(seen[-1], 255, seen)

    def line_state(self):
        return self.line("status").split("\t")[0].strip()

    def menu_keys(self, window, *keys):
        """Opens TrayPopUp on the status window and presses `keys`."""
        x, y, _, _ = self.geometry(window)
        self.run_tool("xdotool", "mousemove", str(x + 60), str(y + 20), "click", "3")
        time.sleep(0.7)
        for key in keys:
            self.run_tool("xdotool", "key", key)
            time.sleep(0.2)
        time.sleep(1)

    def test_menu_commands_reach_the_program(self):
        window = self.start_program("[Olm:TK]\nO=1\nX=300\nY=200\nFade=0\n"
                                    "[Provider]\nDone=1\n")
        self.line("dial", "Provider", "--auth", "0.5")
        time.sleep(3)
        self.assertEqual(self.line_state(), "8192")
        # Online, the fifth item that can be chosen is the entry's submenu; its second item
        # shows the account instead of the expenses.
        self.menu_keys(window, "Down", "Down", "Down", "Down", "Right", "Down", "Return")
        self.assertEqual(self.read_key("AccountDisplay"), "1")
        self.assertEqual(self.read_key("CurrencyDisplay"), "1")
        # Its last item hangs up.
        self.menu_keys(window, "Down", "Down", "Down", "Down", "Right", "Up", "Return")
        deadline = time.time() + 5
        while time.time() < deadline and self.line_state() == "8192":
            time.sleep(0.2)
        self.assertEqual(self.line_state(), "0")


if __name__ == "__main__":
    unittest.main()
