// Opening the settings dialog from the tray menu: the first show (the dialog made, its pages
// built, every control filled from the files and the dialog drawn) and a later show
// (everything loaded again and drawn). Each repetition is one show; the medians are the
// figures, and the very first show in a fresh process is printed before them.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise (xcb on a virtual
// display gives the figures with a real window system).
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/qt/quiet_settings_host.h"
#include "config/codepage.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "settings/qt/settings_dialog.h"

namespace tarvik {
namespace {

// A program folder with the settings of three entries, each with a week of tariff periods, as
// a user who has set the program up has it.
class ProgramFolder {
 public:
  ProgramFolder() {
    std::string base = (std::filesystem::temp_directory_path() / "tarvik-bench-XXXXXX").string();
    dir_ = mkdtemp(base.data());
    std::string text = "[Olm:TK]\r\nO=1\r\nX=300\r\nY=200\r\nEntry=1\r\n";
    for (const char* entry : {"Default", "Provider", "Провайдер 2", "Work VPN"}) {
      text += std::string("[") + entry + "]\r\nDone=1\r\nFreeTime=15\r\nStatusWait=10\r\n";
      for (int d = 0; d < 7; ++d)
        for (int p = 0; p < 4; ++p) {
          const std::string k = "Tar" + std::to_string(d) + "x" + std::to_string(p);
          text += k + "AH=" + std::to_string(p * 6) + "\r\n" + k + "Cost=0" +
                  std::to_string(1200 + p) + "\r\n" + k + "Name=Период " + std::to_string(p) +
                  "\r\n";
        }
    }
    std::ofstream(dir_ / "TarvikC.Kfg", std::ios::binary) << utf8ToCp1251(text);
    std::ofstream(dir_ / "TarvikA.Kfg", std::ios::binary)
        << "[Provider]\r\nAccount=150000\r\n[Work VPN]\r\nAccount=-2500\r\n";
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

// Counts the dialog's paint events: a show counts once the dialog has been drawn.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct Setup {
  ProgramFolder folder;
  bench::FixedClock clock{makeLocalTime(2026, 12, 8, 12)};
  EventLog log{folder.files().eventLog(), clock};
  bench::QuietHost host{{"Provider", "Провайдер 2", "Work VPN"}, makeLocalTime(2026, 12, 8, 12)};
};

// Longer than any show takes: a dialog not drawn by then never will be.
constexpr int kPaintDeadlineMs = 30000;

// Shows the dialog on the first page and waits until it is drawn; milliseconds taken.
double showAndDraw(Tsettings& dialog) {
  PaintCounter counter;
  dialog.installEventFilter(&counter);
  QElapsedTimer timer;
  timer.start();
  dialog.showOnPage(PageId::Cfg);
  // Under a real window system the dialog is drawn only after the window manager has mapped
  // it, which takes its time on a busy machine: the wait sleeps in the event loop until the
  // paint comes, woken now and then to look at the deadline.
  QTimer wake;
  wake.start(50);
  while (counter.paints == 0 && timer.elapsed() < kPaintDeadlineMs)
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  dialog.removeEventFilter(&counter);
  if (counter.paints == 0) {
    std::fprintf(stderr, "the settings dialog was not drawn within %d ms\n", kPaintDeadlineMs);
    std::abort();
  }
  return ms;
}

// The program makes the dialog when it is first opened: the first show includes the frame.
double makeShowAndDraw(Setup& setup, std::unique_ptr<Tsettings>& dialog) {
  QElapsedTimer timer;
  timer.start();
  dialog = std::make_unique<Tsettings>(setup.folder.files(), setup.log, setup.host);
  const double made = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  return made + showAndDraw(*dialog);
}

void BM_SettingsDialogFirstShow(benchmark::State& state) {
  Setup setup;
  for (auto _ : state) {
    std::unique_ptr<Tsettings> dialog;
    state.SetIterationTime(makeShowAndDraw(setup, dialog) / 1000.0);
    dialog->cancel();
  }
}
BENCHMARK(BM_SettingsDialogFirstShow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_SettingsDialogLaterShow(benchmark::State& state) {
  Setup setup;
  Tsettings dialog(setup.folder.files(), setup.log, setup.host);
  showAndDraw(dialog);
  dialog.cancel();
  QApplication::processEvents();
  for (auto _ : state) {
    state.SetIterationTime(showAndDraw(dialog) / 1000.0);
    dialog.cancel();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_SettingsDialogLaterShow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tarvik

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform warns at every raise(); the table is what matters here.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  QApplication app(argc, argv);
  // The running program has drawn its status window and tray menu before the dialog opens:
  // the fonts and the style are loaded by then.
  {
    QLabel warm("00:00:00");
    warm.show();
    QApplication::processEvents();
  }
  // The very first show in a fresh process, once: what the first click on "Настройки" costs.
  {
    tarvik::Setup setup;
    std::unique_ptr<tarvik::Tsettings> dialog;
    std::printf("first show in a fresh process: %.1f ms\n", tarvik::makeShowAndDraw(setup, dialog));
    dialog->cancel();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
