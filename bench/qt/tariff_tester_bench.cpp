// The tariff tester runs its 1,440 lookups on the user-interface thread and blocks the
// settings dialog meanwhile: from the click to the last line shown it must stay short (the
// median at most 100 ms). Each repetition is one click on a full list of 24 periods with a
// gap at its end, so the failure path (maroon text, tune, message) is part of every run.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/qt/offscreen_bench_main.h"
#include "bench/qt/quiet_settings_host.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/qt/message_box.h"
#include "settings/qt/settings_dialog.h"

namespace tarvik {
namespace {

// Monday of "Provider": one period per hour, but the last repeats 22:00 - 23:00, so that
// the last hour of the day is a gap.
class ProgramFolder {
 public:
  ProgramFolder() {
    std::string base = (std::filesystem::temp_directory_path() / "tarvik-bench-XXXXXX").string();
    dir_ = mkdtemp(base.data());
    std::string text = "[Provider]\r\nDone=1\r\nTar1=24\r\n";
    for (int i = 0; i < 24; ++i) {
      const std::string k = "Tar1x" + std::to_string(i);
      const int hour = i == 23 ? 22 : i;
      text += k + "AH=" + std::to_string(hour) + "\r\n" + k + "ZH=" + std::to_string(hour + 1) +
              "\r\n" + k + "Cost=" + std::to_string(i * 5) + "\r\n" + k + "Name=Hour " +
              std::to_string(i) + "\r\n";
    }
    std::ofstream(dir_ / "TarvikC.Kfg", std::ios::binary) << text;
    files_.dir = dir_;
  }
  ~ProgramFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const ProgramFiles& files() const { return files_; }

 private:
  std::filesystem::path dir_;
  ProgramFiles files_;
};

void BM_TariffTesterClickToLastLineShown(benchmark::State& state) {
  ProgramFolder folder;
  // 7 December 2026 is a Monday, the day the folder holds the plan for.
  bench::FixedClock clock{makeLocalTime(2026, 12, 7, 12)};
  EventLog log(folder.files().eventLog(), clock);
  bench::QuietHost host{{"Provider"}, makeLocalTime(2026, 12, 7, 12)};
  Tsettings dialog(folder.files(), log, host);
  dialog.showOnPage(PageId::Tar);
  dialog.findChild<QComboBox*>("o_entry")->setCurrentIndex(1);
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  auto* test = dialog.findChild<QPushButton*>("b_test");
  auto* out = dialog.findChild<QPlainTextEdit*>("o_test");
  if (dialog.findChild<QListWidget*>("o_tar")->count() != 24) {
    state.SkipWithError("the plan was not loaded");
    return;
  }
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    message_box::setNextAnswer(QMessageBox::Ok);
    test->click();
    // Shown: the end of the output scrolled into view and drawn.
    out->verticalScrollBar()->setValue(out->verticalScrollBar()->maximum());
    out->viewport()->repaint();
    state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
  }
  const QString last = out->toPlainText().section('\n', -1);
  if (last != QString::fromUtf8("23:59 = 0/ч (тариф #-1 «Error!»)"))
    state.SkipWithError("the last line is not the one expected");
  dialog.cancel();
}
BENCHMARK(BM_TariffTesterClickToLastLineShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tarvik

int main(int argc, char** argv) {
  return tarvik::runOffscreenBenchmarks(argc, argv);
}
