#include "platform/qt/unattended.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QTimer>

namespace tarvik {

namespace {

// A tab and what a control shows as text, on one line; nothing for controls without a text.
QString shownText(const QWidget& w) {
  QString text;
  if (const auto* label = qobject_cast<const QLabel*>(&w))
    text = label->text();
  else if (const auto* edit = qobject_cast<const QLineEdit*>(&w))
    text = edit->text();
  else if (const auto* button = qobject_cast<const QAbstractButton*>(&w))
    text = button->text();
  else
    return QString();
  return '\t' + text.replace('\t', ' ').replace('\n', QStringLiteral("\\n"));
}

}  // namespace

void answerUnattended(QDialog& dialog, std::function<void()> defaultAnswer) {
  bool ok = false;
  const int ms = qEnvironmentVariableIntValue("TARVIK_TEST_DISMISS_MS", &ok);
  if (ok && ms >= 0) QTimer::singleShot(ms, &dialog, std::move(defaultAnswer));
}

void mapWidgetsUnattended(QWidget& window) {
  const QString file = qEnvironmentVariable("TARVIK_TEST_WIDGET_MAP");
  if (file.isEmpty()) return;
  // Once the layouts have placed everything.
  QTimer::singleShot(100, &window, [&window, file] {
    const qreal ratio = window.devicePixelRatioF();
    QString text;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
      if (w->objectName().isEmpty() || !w->isVisibleTo(&window)) continue;
      const QPoint at = w->mapTo(&window, QPoint(0, 0));
      text += QStringLiteral("%1 %2 %3 %4 %5%6\n")
                  .arg(w->objectName())
                  .arg(qRound(at.x() * ratio))
                  .arg(qRound(at.y() * ratio))
                  .arg(qRound(w->width() * ratio))
                  .arg(qRound(w->height() * ratio))
                  .arg(shownText(*w));
    }
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
      out.write(text.toUtf8());
      out.commit();
    }
  });
}

}  // namespace tarvik
