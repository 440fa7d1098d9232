#!/usr/bin/env python3
"""A weekly tariff made in the settings dialog of the real program and charged by its meter:
on a virtual X display the user picks the entry's free plan on the tariff page, gives it a
price and a name, runs the tariff tester, copies the day to the whole week and turns to the
statistics page; the next connection, made while the dialog stays open, must be metered at that
price under that name, booked so, and shown on that page at once. ОК then closes the dialog
with the week's plan in the file.
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ini_value  # noqa: E402
from settings_dialog_test import TOOLS, DesktopCase, missing_tools  # noqa: E402


def duration_cell(seconds):
    s = int(seconds)
    return "%02d:%02d:%02d" % (s // 3600, s // 60 % 60, s % 60)


def money_cell(hundredths):
    return ("%.15g" % (int(hundredths) / 100))[:6]


def byte_text(count):
    """Bytes as the program writes them in the C locale: "512 Б", "1.5 КБ", "12.4 МБ"."""
    count = int(count)
    if count < 1024:
        return f"{count} Б"
    value, unit = count / 1024, 0
    while value >= 1023.95 and unit < 4:
        value, unit = value / 1024, unit + 1
    return "%.1f %s" % (value, ["КБ", "МБ", "ГБ", "ТБ", "ПБ"][unit])


def volume_cell(received, sent):
    return byte_text(received) + "\n" + byte_text(sent)


@unittest.skipIf(missing_tools(), "needs " + " ".join(TOOLS))
class TariffDialogTest(DesktopCase):
    prefix = "tarvik-e2e-tariff-"

    def type_into(self, name, text):
        """Replaces the whole text of the edit box `name` by typing."""
        self.click(name)
        self.xdo("key", "ctrl+a")
        self.xdo("type", text)
        time.sleep(0.3)

    def shown_cells(self, names):
        """The texts of the statistics page's cells `names` after the page is chosen anew (a
        page choice makes the program list its controls again)."""
        self.click("b_tab_tar")
        self.wait_for(lambda: "st_tim_tc" not in self.widget_map(), "the tariff page's list")
        self.click("b_tab_stat")
        self.wait_for(lambda: "st_tim_tc" in self.widget_map(), "the statistics page's list")
        shown = self.widget_map()
        return [shown[name][1] for name in names]

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
        # Nothing booked yet: the connection's and the day's cells are empty.
        cells = ["st_tim_tc", "st_exp_tc", "st_num_tc", "st_tim_td", "st_exp_td", "st_num_td",
                 "st_vol_tc", "st_vol_td"]
        self.assertEqual(self.shown_cells(cells),
                         ["00:00:00", "0", "-", "00:00:00", "0", "0", "0 Б\n0 Б", "0 Б\n0 Б"])

        # The connection, with the dialog open on the statistics page, moving 200 kB a second.
        self.line("dial", "Provider", "--auth", "0.2", "--rate", "200000")
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
        stats = self.path("TarvikS.Kfg")
        self.wait_for(lambda: ini_value(stats, "Provider", "CountTT") == "1", "the booking")
        booked = {k: ini_value(stats, "Provider", k) for k in
                  ("TimeTC", "MoneyTC", "TimeTD", "MoneyTD", "CountTD", "MoneyTT", "RxTC", "TxTC",
                   "RxTD", "TxTD")}
        self.assertGreater(int(booked["RxTC"]), 200000)
        self.assertEqual(booked["MoneyTT"], str(cost))
        self.assertEqual((booked["TimeTC"], booked["MoneyTC"]), (str(seconds), str(cost)))
        # The open page took the booking: time as hh:mm:ss, hundredths as whole units in the
        # C locale's notation, no count per connection, bytes received above bytes sent.
        self.assertEqual(self.shown_cells(cells), [
            duration_cell(booked["TimeTC"]), money_cell(booked["MoneyTC"]), "-",
            duration_cell(booked["TimeTD"]), money_cell(booked["MoneyTD"]), booked["CountTD"],
            volume_cell(booked["RxTC"], booked["TxTC"]),
            volume_cell(booked["RxTD"], booked["TxTD"])])

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


if __name__ == "__main__":
    unittest.main()
