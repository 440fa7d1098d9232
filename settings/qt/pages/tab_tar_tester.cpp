#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "platform/qt/message_box.h"
#include "settings/qt/pages/tab_tar.h"
#include "tariff/tariff_tester.h"

// The tariff tester: every minute of the day looked up in the list as it is shown.
namespace tarvik {

namespace {

const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);

void setTextColour(QPlainTextEdit* box, const QColor& colour) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Text, colour);
  box->setPalette(palette);
}

QString qs(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

void TabTar::runTester() {
  namespace t = tester_texts;
  frame_.log().append(t::kStartLine, true);
  setTextColour(o_test_, palette().color(QPalette::WindowText));
  o_test_->clear();
  b_test_->setEnabled(false);
  p_test_->setValue(0);

  const TariffTestResult result = testDayPlan(editor_.lines());
  // The dialog waits for the whole test; the output and the bar grow an hour at a time, and
  // the bar is painted at once so that it moves while the test blocks.
  constexpr int kMinutesPerHour = 60;
  for (int from = 0; from < kMinutesPerDay; from += kMinutesPerHour) {
    QStringList hour;
    bool gap = false;
    for (int minute = from; minute < from + kMinutesPerHour; ++minute) {
      hour << QString::fromStdString(result.lines[minute]);
      gap = gap || result.periods[minute] < 0;
    }
    o_test_->appendPlainText(hour.join('\n'));
    if (gap) setTextColour(o_test_, kMaroon);
    p_test_->setValue(from + kMinutesPerHour);
    p_test_->repaint();
  }
  p_test_->setValue(p_test_->maximum());

  if (result.failed()) {
    frame_.log().append(t::kFailedLine);
    frame_.host().playTune(t::kFailedTune);
    message_box::inform(qs(t::kFailedMessage));
  } else {
    frame_.log().append(t::kSuccessLine);
    setTextColour(o_test_, kGreen);
    frame_.host().playTune(t::kSuccessTune);
    message_box::inform(qs(t::kSuccessMessage));
  }
  b_test_->setEnabled(true);
}

}  // namespace tarvik
