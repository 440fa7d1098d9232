#!/usr/bin/env python3
"""A weekly tariff made in the settings dialog of the real program and charged by its meter:
on a virtual X display the user picks the entry's free plan on the tariff page, gives it a
price and a name, runs the tariff tester, copies the day to the whole week and presses ОК;
the next connection must be metered at that price under that name and booked so.
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ini_value  # noqa: E402
from settings_dialog_test import TOOLS, DesktopCase, missing_tools  # noqa: E402


@unittest.skipIf(missing_tools(), "needs " + " ".join(TOOLS))
class TariffDialogTest(DesktopCase):
    prefix = "tarvik-e2e-tariff-"

    def type_into(self, name, text):
        """Replaces the whole text of the edit box `name` by typing."""
        self.click(name)
        self.xdo("key", "ctrl+a")
        self.xdo("type", text)
        time.sleep(0.3)

    def test_tariff_made_in_the_dialog_is_charged(self):
        self.line("add", "Provider")
        # Own settings but no tariff yet: one free period "Guest" all day, every day.
        self.write_config("TarvikC.Kfg",
                          "[Olm:TK]\nO=1\nX=300\nY=200\nFade=0\n[Provider]\nDone=1\nFreeTime=0\n")
        status = self.start_with_window()
        self.open_settings(status)
        self.choose("o_entry", 1)
        self.click("b_tab_tar")
        self.controls("o_tar")

        # The plan's one line, taken into the fields with the keyboard.
        self.click("o_tar")
        self.xdo("key", "Home")
        time.sleep(0.3)
        self.type_into("e_tax", "3600")  # hundredths an hour: one a second
        self.type_into("e_cap", "Edited")
        self.click("b_tar_save")
        # The tester finds no gap (its message answers itself).
        self.click("b_test")
        self.wait_for_log(" Testing tariff...\r\n Success. Tariff data has no errors.\r\n")
        # Its question's default answer is Yes.
        self.click("b_alldays")
        self.wait_for(lambda: ini_value(self.path("TarvikC.Kfg"), "Provider", "Tar6x0Name")
                      == "Edited", "the week's plan in the file")
        self.click("b_ok")
        deadline = time.time() + 5
        while time.time() < deadline and self.window("Настройки", 0.1):
            time.sleep(0.1)
        self.assertIsNone(self.window("Настройки", 0.1), "ОК did not close the dialog")

        for d in range(7):
            key = f"Tar{d}x0"
            self.assertEqual(self.config("Provider", f"Tar{d}"), "1")
            self.assertEqual([self.config("Provider", key + k) for k in
                              ("AH", "AM", "ZH", "ZM", "Cost", "Name")],
                             ["00", "00", "24", "00", "03600", "Edited"], key)

        self.line("dial", "Provider", "--auth", "0.2")
        self.wait_for_log(" Connection established.\r\n")
        time.sleep(3)
        self.line("hangup")
        self.wait_for_log(" Financial expences: ")
        log = self.log()
        connection = log[log.rindex(" Entry in use: Provider"):]
        self.assertIn(" Tariff in use: «Edited», 3600/h\r\n", connection)
        seconds = int(connection.split(" Time spent online: 00:00:")[1][:2])
        cost = int(connection.split(" Financial expences: ")[1].split(" ")[0])
        self.assertGreaterEqual(seconds, 3)
        self.assertEqual(cost, seconds)
        self.wait_for(lambda: ini_value(self.path("TarvikS.Kfg"), "Provider", "CountTT") == "1",
                      "the booking")
        self.assertEqual(ini_value(self.path("TarvikS.Kfg"), "Provider", "MoneyTT"), str(cost))


if __name__ == "__main__":
    unittest.main()
