#!/usr/bin/env python3
"""A two-mode skin made in the skin editor of the real program and worn by its status window:
on a virtual X display the user starts a new skin, picks generated bitmaps of different sizes
for the compact and the full mode through the file picker, cuts a notch into each mode's
outline with the control point fields, saves the skin into a new folder under SKINS, loads it
on the skin page and presses ОК. The status window must then have the saved size, outline and
face in both modes, switched by double clicks as a user switches them.

No box answers itself here: every question and picker is answered with the keyboard.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ini_value  # noqa: E402
from settings_dialog_test import DesktopCase, missing_tools  # noqa: E402

TOOLS = ["xsetroot", "import", "convert"]
DESKTOP = "#204060"
MAGENTA = (255, 0, 255)
# Per mode: face size, face colour, and the colour of its eleven small pictures.
MODES = {
    "compact": ((80, 30), (32, 48, 128), (240, 200, 0)),
    "full": ((120, 60), (48, 96, 32), (0, 200, 240)),
}
SMALL_PICTURES = 11  # objects 1 to 11 of the editor: buttons and indicator states


def write_bmp(path, width, height, colour_at):
    """A 24-bit bitmap; colour_at(x, y) gives each pixel's (r, g, b)."""
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):  # stored bottom-up
        row = b"".join(bytes((b, g, r)) for r, g, b in (colour_at(x, y) for x in range(width)))
        rows.append(row + b"\0" * (row_size - len(row)))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def notch(size):
    """The corner the outline cuts away: a quarter of the width and of the height."""
    return size[0] // 4, size[1] // 4


@unittest.skipIf(missing_tools() or [t for t in TOOLS if not shutil.which(t)],
                 "needs the desktop tools and ImageMagick")
class SkinEditorTest(DesktopCase):
    prefix = "tarvik-e2e-skin-editor-"

    def setUp(self):
        super().setUp()
        # The questions and pickers of this journey are the user's to answer.
        self.env.pop("TARVIK_TEST_DISMISS_MS", None)
        subprocess.run(["xsetroot", "-solid", DESKTOP], env=self.env, timeout=20)
        self.pictures = os.path.join(self.root, "pictures")
        os.mkdir(self.pictures)
        for mode, (size, face, small) in MODES.items():
            cut = notch(size)
            # Magenta where the outline cuts the face: shown only if the cut is missing.
            write_bmp(self.picture(mode, 0), *size,
                      lambda x, y, cut=cut, face=face: MAGENTA if x < cut[0] and y < cut[1]
                      else face)
            for index in range(1, SMALL_PICTURES + 1):
                write_bmp(self.picture(mode, index), 6, 6, lambda x, y, small=small: small)

    def picture(self, mode, index):
        return os.path.join(self.pictures, "%s%02d.bmp" % (mode, index))

    # The user's hands.

    def keys(self, *names):
        for name in names:
            self.xdo("key", name)
            time.sleep(0.15)

    def box(self, seconds=15):
        """The message box on the screen: titled with the program's name like the status
        window, which it is not."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            ids = self.xdo("search", "--onlyvisible", "--name", "^Tarvik$").split()
            boxes = [i for i in ids if i != self.status]
            if boxes:
                return boxes[0]
            time.sleep(0.1)
        return None

    def answer(self, *names):
        """Waits for a message box and presses `names` in it."""
        window = self.box()
        self.assertIsNotNone(window, "no message box")
        self.xdo("windowactivate", "--sync", window)
        time.sleep(0.3)
        self.keys(*names)
        deadline = time.time() + 10
        while time.time() < deadline and self.box(0.1) == window:
            time.sleep(0.1)
        self.assertNotEqual(self.box(0.1), window, "the box stayed")

    def pick_file(self, title, path):
        """Types `path` into the picker titled `title` and opens it."""
        window = self.window(title, 15)
        self.assertIsNotNone(window, "no picker " + title)
        self.xdo("windowactivate", "--sync", window)
        time.sleep(0.5)
        self.xdo("key", "ctrl+a")
        self.xdo("type", "--delay", "5", path)
        time.sleep(0.3)
        self.keys("Return")
        deadline = time.time() + 10
        while time.time() < deadline and self.window(title, 0.1):
            time.sleep(0.1)
        self.assertIsNone(self.window(title, 0.1), "the picker did not take " + path)

    def raise_by(self, name, value):
        """Raises the spin `name` by `value`: its text cannot be typed into, so by pages of
        ten and steps of one, as its arrows would."""
        self.click(name)
        self.keys(*["Prior"] * (value // 10), *["Up"] * (value % 10))

    def draft(self, section, key):
        return ini_value(self.path("new_skin.tmp"), section, key)

    # The editor.

    def make_mode(self, mode, digit):
        size = MODES[mode][0]
        # The window's background; its question about the outline is answered Yes (default).
        self.click("b_file")
        self.pick_file("графический файл", self.picture(mode, 0))
        self.answer("Return")
        for index in range(1, SMALL_PICTURES + 1):
            self.choose("o_objects", 1)
            self.click("b_file")
            self.pick_file("графический файл", self.picture(mode, index))
        self.wait_for(lambda: self.draft("skin:img", "ind_xx_%dx" % digit) == "1",
                      mode + " pictures in the working file")
        points = "skin:%s:points" % mode
        self.assertEqual((self.draft(points, "9x"), self.draft(points, "9y")),
                         tuple(str(v) for v in size))
        # Point 1 (still chosen) moves from the corner inwards: the outline loses a notch.
        cut = notch(size)
        self.raise_by("o_pts_x", cut[0])
        self.raise_by("o_pts_y", cut[1])
        self.wait_for(lambda: (self.draft(points, "1x"), self.draft(points, "1y")) ==
                      tuple(str(v) for v in cut), mode + " point 1 in the working file")

    def shot(self):
        path = os.path.join(self.root, "shot.png")
        subprocess.run(["import", "-window", "root", path], env=self.env, timeout=20)
        return path

    def colours(self, points):
        """The screen's colours at `points`, as #rrggbb."""
        shot = self.shot()
        found = []
        for x, y in points:
            out = subprocess.run(["convert", shot, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8",
                                  "txt:-"], capture_output=True, text=True).stdout
            colour = re.search(r"#[0-9A-Fa-f]{6}\b", out)
            found.append(colour.group(0).upper() if colour else out)
        return found

    def check_window(self, status, mode):
        size, face, _ = MODES[mode]
        deadline = time.time() + 10
        while time.time() < deadline and self.geometry(status)[2:] != size:
            time.sleep(0.1)
        x, y, w, h = self.geometry(status)
        self.assertEqual((w, h), size, mode)
        cut = notch(size)
        desktop, colour = DESKTOP.upper(), "#%02X%02X%02X" % face
        probes = {
            (x + 2, y + 2): desktop,  # inside the notch
            (x + cut[0] - 3, y + cut[1] - 3): desktop,
            (x + cut[0] + 3, y + 2): colour,  # beside and below it: the face
            (x + 2, y + cut[1] + 3): colour,
            (x + w - 2, y + 2): colour,
            (x + 2, y + h - 2): colour,
            (x + w + 2, y + 2): desktop,  # beyond the saved size
            (x + 2, y + h + 2): desktop,
        }
        self.assertEqual(self.colours(list(probes)), list(probes.values()), mode)

    def switch_mode(self, status):
        x, y, _, _ = self.geometry(status)
        self.xdo("mousemove", str(x + 3), str(y + 25), "click", "--repeat", "2", "--delay", "80",
                 "1")
        time.sleep(1)

    def test_two_mode_skin_made_in_the_editor_is_worn_by_the_status_window(self):
        self.line("add", "Provider")
        # A double click on the window switches the skin mode; the window stands clear of the
        # dialog, so that no click meant for a control lands on it.
        self.write_config("TarvikC.Kfg", "[Olm:TK]\nO=1\nX=20\nY=20\nFade=0\nAction=3\n")
        status = self.status = self.start_with_window()
        self.open_settings(status)
        self.click("b_tab_editor")
        self.controls("b_skin_new")

        self.click("b_skin_new")
        self.wait_for(lambda: self.draft("skin:temp", "is1") == "1", "the compact mode")
        self.make_mode("compact", 0)
        # Its own pictures for the full mode: No to the same-images question.
        self.click("b_new_extended")
        self.answer("Escape")
        self.wait_for(lambda: self.draft("skin", "separated") == "1", "the full mode")
        # The full mode starts on the window's background again.
        self.make_mode("full", 1)

        folder = os.path.join(self.dir, "SKINS", "Notched")
        os.makedirs(folder)
        self.click("b_skin_save")
        self.pick_file("skin.qsf", os.path.join(folder, "skin.qsf"))
        self.answer("Return")  # saved
        self.assertIn(" Skin creating complete.", self.log())
        skin = os.path.join(folder, "skin.qsf")
        self.assertEqual(ini_value(skin, "skin", "double"), "1")
        self.assertEqual(ini_value(skin, "skin", "separated"), "1")
        for mode, suffix in (("compact", "_c.bmp"), ("full", "_f.bmp")):
            self.assertTrue(os.path.exists(os.path.join(folder, "face" + suffix)), suffix)
            cut = notch(MODES[mode][0])
            points = "skin:%s:points" % mode
            self.assertEqual((ini_value(skin, points, "1x"), ini_value(skin, points, "1y")),
                             tuple(str(v) for v in cut))

        self.click("b_tab_skin")
        self.controls("b_load")
        self.click("b_load")
        self.pick_file("файл темы", skin)
        self.click("b_ok")
        self.answer("Return")  # keep the working file
        deadline = time.time() + 5
        while time.time() < deadline and self.window("Настройки", 0.1):
            time.sleep(0.1)
        self.assertEqual(self.config("Olm:TK:Skin", "SkinExternal"), "1")
        self.assertEqual(self.config("Olm:TK:Skin", "SkinName"), folder + "/")

        self.check_window(status, "compact")
        self.switch_mode(status)
        self.check_window(status, "full")
        self.assertEqual(self.config("Olm:TK:Skin", "SkinSize"), "1")
        self.switch_mode(status)
        self.check_window(status, "compact")
        self.assertEqual(self.config("Olm:TK:Skin", "SkinSize"), "0")


if __name__ == "__main__":
    unittest.main()
