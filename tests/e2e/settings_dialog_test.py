#!/usr/bin/env python3
"""The settings dialog through the real program on a virtual X display with icewm, driven with
the mouse and keyboard like a user: opened from the tray menu, a per-entry setting and a global
one changed, ОК. Both files must hold the new values, the status window must stand where the new
position says, and the next connection of the entry must be metered with its new free time.

Where the controls are comes from the program itself (TARVIK_TEST_WIDGET_MAP); everything else
is what a user does.
"""
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import DAY_PLAN, ProgramDirTestCase, ini_value, stop_processes  # noqa: E402

TOOLS = ["Xvfb", "icewm", "xdotool", "xwininfo", "xprop"]


def missing_tools():
    return [t for t in TOOLS if shutil.which(t) is None]


class DesktopCase(ProgramDirTestCase):
    """The program on a virtual X display of `screen` pixels with icewm, at `scale`."""
    prefix = "tarvik-e2e-dialog-"
    screen = (1024, 768)
    scale = None

    def setUp(self):
        super().setUp()
        self.procs = []
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                 "%dx%dx24" % self.screen, "-nolisten", "tcp"],
                                pass_fds=[write_fd],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(xvfb)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            display = ":" + f.readline().strip()
        self.map_file = os.path.join(self.root, "widgets.txt")
        # The dialog's Russian title reaches the window manager only in a UTF-8 locale (its
        # decimal point is still ".").
        self.env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8",
                        LANG="C.UTF-8", TARVIK_TEST_WIDGET_MAP=self.map_file)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env.pop("QT_SCALE_FACTOR", None)
        if self.scale:
            self.env["QT_SCALE_FACTOR"] = str(self.scale)
        self.procs.append(subprocess.Popen(["icewm"], env=self.env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        time.sleep(1)

    def tearDown(self):
        stop_processes(self.procs)
        super().tearDown()

    def xdo(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=20).stdout

    def window(self, name, seconds=10):
        """The id of the visible window titled `name` (a regular expression), or None."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            ids = self.xdo("search", "--onlyvisible", "--name", name).split()
            if ids:
                return ids[0]
            time.sleep(0.1)
        return None

    def geometry(self, window):
        out = subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True,
                             text=True, timeout=20).stdout
        info = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
        return tuple(int(info[k].strip()) for k in ("Absolute upper-left X",
                                                    "Absolute upper-left Y", "Width", "Height"))

    def frame_extents(self, window):
        """What the window manager adds around `window`: left, right, top, bottom."""
        out = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], env=self.env,
                             capture_output=True, text=True, timeout=20).stdout
        return tuple(int(v) for v in out.split("=")[1].split(","))

    def widget_map(self):
        """The dialog's visible controls as the program last listed them: name -> ((x, y, w,
        h), shown text), the text "" for controls without one."""
        try:
            with open(self.map_file, encoding="utf-8") as f:
                lines = [line.rstrip("\n") for line in f if line.strip()]
        except FileNotFoundError:
            return {}
        found = {}
        for line in lines:
            place, _, text = line.partition("\t")
            name, *box = place.split()
            found[name] = (tuple(int(v) for v in box), text.replace("\\n", "\n"))
        return found

    def controls(self, needed):
        """The dialog's map of visible controls, once it lists `needed`."""
        deadline = time.time() + 10
        while time.time() < deadline:
            found = self.widget_map()
            if needed in found:
                return {name: box for name, (box, _) in found.items()}
            time.sleep(0.1)
        self.fail(f"the dialog never showed {needed}")

    def click(self, name, button="1"):
        """Clicks the middle of the dialog's control `name`."""
        x, y, w, h = self.controls(name)[name]
        dx, dy, _, _ = self.geometry(self.dialog)
        self.xdo("mousemove", str(dx + x + w // 2), str(dy + y + h // 2), "click", button)
        time.sleep(0.3)

    def press_in(self, name, key, times):
        """Presses `key` `times` times in the control `name`: the position and seconds fields
        change only by their steps, as their arrows do."""
        self.click(name)
        for _ in range(times):
            self.xdo("key", key)
            time.sleep(0.05)
        time.sleep(0.3)

    def choose(self, name, steps):
        """Picks the item `steps` below the current one in the drop-down list `name`."""
        self.click(name)
        for _ in range(steps):
            self.xdo("key", "Down")
            time.sleep(0.1)
        self.xdo("key", "Return")
        time.sleep(0.5)

    def config(self, section, key):
        return ini_value(self.path("TarvikC.Kfg"), section, key)

    def start_with_window(self):
        self.start()
        status = self.window("^Tarvik$", 15)
        self.assertIsNotNone(status, "the status window never appeared")
        time.sleep(0.5)
        return status

    def open_settings(self, status):
        """Chooses "Настройки", the sixth item from the bottom of the menu while offline."""
        x, y, w, h = self.geometry(status)
        self.xdo("mousemove", str(x + w * 2 // 3), str(y + h // 2), "click", "3")
        time.sleep(0.7)
        for _ in range(6):
            self.xdo("key", "Up")
            time.sleep(0.15)
        self.xdo("key", "Return")
        self.dialog = self.window("Настройки", 10)
        self.assertIsNotNone(self.dialog, "the tray menu did not open the settings dialog")
        return self.controls("e_xx")  # page 0, ПАРАМЕТРЬI


@unittest.skipIf(missing_tools(), "needs " + " ".join(TOOLS))
class SettingsDialogTest(DesktopCase):
    def test_settings_changed_in_the_dialog_reach_the_files_and_the_running_program(self):
        self.line("add", "Provider")
        # Until now every entry is metered from its first second with the defaults.
        self.write_config("TarvikC.Kfg",
                          "[Olm:TK]\nO=1\nX=300\nY=200\nFade=0\n[Default]\nFreeTime=0\n" +
                          DAY_PLAN)
        status = self.start_with_window()
        self.assertEqual(self.geometry(status)[:2], (300, 200))
        self.open_settings(status)

        # The entry first: with nothing changed yet no question comes. Its free time comes from
        # "Default" until ОК gives it settings of its own.
        self.choose("o_entry", 1)
        self.click("b_tab_conn")
        self.press_in("e_free", "Up", 6)  # five seconds a step

        # A global setting with a live preview: the window follows the position field.
        self.click("b_tab_cfg")
        self.press_in("e_xx", "Prior", 12)  # ten pixels a page
        self.assertEqual(self.geometry(status)[:2], (420, 200))

        self.click("b_ok")
        deadline = time.time() + 5
        while time.time() < deadline and self.window("Настройки", 0.1):
            time.sleep(0.1)
        self.assertIsNone(self.window("Настройки", 0.1), "ОК did not close the dialog")

        self.assertEqual(self.config("Olm:TK", "X"), "420")
        self.assertEqual(self.config("Olm:TK", "Y"), "200")
        self.assertEqual(self.config("Olm:TK", "Entry"), "1")
        self.assertEqual(self.config("Provider", "Done"), "1")
        self.assertEqual(self.config("Provider", "FreeTime"), "30")
        self.assertEqual(self.config("Default", "FreeTime"), "0")
        # ОК saves both parts: the shared account goes to the balance file, made by it.
        self.assertEqual(ini_value(self.path("TarvikA.Kfg"), "Olm:TK", "Account"), "0")
        # The program re-read its settings: the window stays where ОК put it.
        time.sleep(0.5)
        self.assertEqual(self.geometry(status)[:2], (420, 200))

        # The next connection of the entry uses its own settings, with 30 s free.
        self.line("dial", "Provider", "--auth", "0.2")
        self.wait_for_log(" Connection established.\r\n")
        time.sleep(3)
        self.line("hangup")
        self.wait_for_log(" Financial expences: ")
        log = self.log()
        connection = log[log.rindex(" Entry in use: Provider"):]
        self.assertIn(" Entry settings: Provider\r\n", connection)
        self.assertIn(" Financial expences: 0 ц\r\n", connection)


@unittest.skipIf(missing_tools(), "needs " + " ".join(TOOLS))
class HighDensityTest(DesktopCase):
    """Scale factor 2 on 1280 x 800: 640 x 400 logical pixels, less than the dialog's own size."""
    screen = (1280, 800)
    scale = 2

    def test_window_and_dialog_stay_on_the_screen(self):
        # A position stored at scale 1 near the bottom-right corner.
        self.line("add", "Provider")
        self.write_config("TarvikC.Kfg", "[Olm:TK]\nO=1\nX=1150\nY=760\nFade=0\n")
        status = self.start_with_window()
        x, y, w, h = self.geometry(status)
        self.assertEqual((w, h), (198, 52))  # the compact standard skin, twice its size
        # Flush with the right edge, and above icewm's panel at the bottom.
        area = [int(v) for v in subprocess.run(
            ["xprop", "-root", "_NET_WORKAREA"], env=self.env, capture_output=True,
            text=True).stdout.split("=")[1].split(",")[:4]]
        self.assertLess(area[3], 800, "icewm's panel should take the bottom of the screen")
        self.assertEqual(x + w, 1280)
        self.assertLessEqual(y + h, area[1] + area[3])
        self.assertGreaterEqual(y + h, area[1] + area[3] - 2)

        controls = self.open_settings(status)
        dx, dy, dw, dh = self.geometry(self.dialog)
        self.assertTrue(0 <= dx and dx + dw <= 1280 and 0 <= dy and dy + dh <= 800,
                        (dx, dy, dw, dh))
        # Its title exactly as given, and already at its first show its frame is centred on
        # the work area (within a few pixels: the frame is only known once it was shown).
        self.assertEqual(self.xdo("getwindowname", self.dialog).strip(),
                         "Настройки для учётных записей по умолчанию...")
        left, right, top, bottom = self.frame_extents(self.dialog)
        centre_x = dx - left + (left + dw + right) / 2
        centre_y = dy - top + (top + dh + bottom) / 2
        self.assertLessEqual(abs(centre_x - (area[0] + area[2] / 2)), 2, (dx, dy, area))
        self.assertLessEqual(abs(centre_y - (area[1] + area[3] / 2)), 8, (dx, dy, area))
        # Every control of the frame lies inside the dialog; what a page lacks in width it
        # gets by scrolling in the page area, which lies inside the dialog too.
        frame = [name for name in controls if name.startswith("b_tab_")]
        frame += ["o_entry", "b_ok", "b_apply", "b_cancel", "p_scroll"]
        for name in frame:
            cx, cy, cw, ch = controls[name]
            self.assertTrue(cx >= 0 and cy >= 0 and cx + cw <= dw and cy + ch <= dh, name)
        page_x, page_y, page_w, page_h = controls["p_pages"]
        self.assertLessEqual(page_y + page_h, controls["p_scroll"][1] + controls["p_scroll"][3],
                             "a page scrolls only sideways")
        for name in ("b_ok", "b_apply", "b_cancel", "b_tab_stat", "e_xx", "b_reset"):
            self.assertIn(name, controls)

        # The manual's window, titled exactly; Esc closes it and leaves the dialog.
        self.xdo("key", "F1")
        manual = self.window("справка", 10)
        self.assertIsNotNone(manual, "F1 did not open the manual")
        self.assertEqual(self.xdo("getwindowname", manual).strip(), "Tarvik — справка")
        time.sleep(0.5)
        self.xdo("key", "Escape")
        deadline = time.time() + 5
        while time.time() < deadline and self.window("справка", 0.1):
            time.sleep(0.1)
        self.assertIsNone(self.window("справка", 0.1), "Esc did not close the manual")
        self.assertIsNotNone(self.window("Настройки", 1))

        # Shown again after ОТМЕНА, now with its frame known: centred to the pixel of the scaled
        # screen (two of the screen's own at scale 2).
        self.click("b_cancel")
        self.open_settings(status)
        dx, dy, dw, dh = self.geometry(self.dialog)
        centre_x = dx - left + (left + dw + right) / 2
        centre_y = dy - top + (top + dh + bottom) / 2
        self.assertLessEqual(abs(centre_x - (area[0] + area[2] / 2)), 4, (dx, dy, area))
        self.assertLessEqual(abs(centre_y - (area[1] + area[3] / 2)), 4, (dx, dy, area))


if __name__ == "__main__":
    unittest.main()
