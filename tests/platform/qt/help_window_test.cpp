#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include "platform/qt/help_window.h"

namespace tarvik {

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Every line of the built-in manual's contents leads to a section of that title, so a
  // section added or renamed without its anchor (or the other way round) is caught here.
  void everyContentsLinkOpensItsSection() {
    QVERIFY(HelpWindow::exists(HelpWindow::kBuiltInManual));
    QFile file(HelpWindow::kBuiltInManual);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    const qsizetype contentsStart = html.indexOf(QStringLiteral("<a name=\"contents\">"));
    const qsizetype contentsEnd = html.indexOf(QStringLiteral("</ul>\n\n<h2>"), contentsStart);
    QVERIFY(contentsStart > 0 && contentsEnd > contentsStart);
    const QString contents = html.mid(contentsStart, contentsEnd - contentsStart);

    HelpWindow window;
    QStringList titles;
    static const QRegularExpression link(QStringLiteral("<a href=\"#(\\w+)\">([^<]+)</a>"));
    for (auto it = link.globalMatch(contents); it.hasNext();) {
      const auto match = it.next();
      const QString anchor = match.captured(1);
      const QString title = match.captured(2);
      titles << title;
      const QString heading = QStringLiteral("<h2><a name=\"%1\"></a>%2</h2>").arg(anchor, title);
      QVERIFY2(html.contains(heading), qPrintable(heading));
      window.showSection(anchor);
      QCOMPARE(window.topLine(), title);
    }
    QVERIFY(titles.contains(QStringLiteral("Статистика для сценариев: tarvik-report")));
    QVERIFY(titles.contains(QStringLiteral("Объём, прогноз и предупреждение о подорожании")));
    QVERIFY(titles.contains(QStringLiteral("Первый запуск")));
    QCOMPARE(titles.size(), 24);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::HelpWindowTest)
#include "help_window_test.moc"
