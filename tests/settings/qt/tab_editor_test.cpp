// The skin editor's pictures and texts: control points on the outline and dragged, the
// look of a text, refused pictures, and the saved skin as the status window shows it.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>
#include <optional>

#include "platform/qt/color_dialog.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/font_dialog.h"
#include "status/qt/ttarvik.h"
#include "tests/settings/qt/editor_fixture.h"

namespace tarvik {

using test::EditorFixture;
using test::kNotLoaded;
using test::takeScreenshot;
namespace fs = std::filesystem;

class TabEditorTest : public QObject {
  Q_OBJECT

 private slots:
  // The outline around a 101 x 61 background, and a marker dragged to a new place.
  void controlPointsOnTheBorderAndDragged() {
    EditorFixture f;
    f.find<QPushButton>("b_skin_new")->click();
    f.pick(0, f.bitmap("face.bmp", 101, 61), QMessageBox::Yes);
    QCOMPARE(f.boxes.texts().last(),
             QString::fromUtf8("Расположить контрольные точки формы по периметру загружаемого "
                               "изображения?"));
    auto* points = f.find<QComboBox>("o_points");
    QCOMPARE(points->count(), 16);
    QCOMPARE(points->itemText(2), QString::fromUtf8("точка 3"));
    points->setCurrentIndex(2);
    QCOMPARE(f.find<QSpinBox>("o_pts_x")->value(), 0);
    QCOMPARE(f.find<QSpinBox>("o_pts_y")->value(), 30);
    points->setCurrentIndex(6);
    QCOMPARE(f.find<QSpinBox>("o_pts_x")->value(), 50);
    QCOMPARE(f.find<QSpinBox>("o_pts_y")->value(), 61);
    QCOMPARE(f.draft().readString("skin:compact:points", "7x"), "50");
    QCOMPARE(f.draft().readString("skin:compact:points", "9y"), "61");
    QCOMPARE(f.find<QSpinBox>("e_a")->value(), 101);
    QVERIFY(!f.find<QSpinBox>("e_x")->isEnabled());

    // The spin boxes move the marker; a drag moves the point.
    f.find<QSpinBox>("o_pts_x")->setValue(44);
    QCOMPARE(f.find<QFrame>("x_7")->geometry().center(), QPoint(44, 61));
    QCOMPARE(f.draft().readString("skin:compact:points", "7x"), "44");
    auto* marker = f.find<QFrame>("x_16");
    const QPoint grab(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, grab, marker->mapToGlobal(grab), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &press);
    QCOMPARE(points->currentIndex(), 15);
    const QPoint to(grab + QPoint(-15, 20));
    QMouseEvent move(QEvent::MouseMove, to, marker->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, marker->mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &release);
    QCOMPARE(f.find<QSpinBox>("o_pts_x")->value(), 25 - 15);
    QCOMPARE(f.find<QSpinBox>("o_pts_y")->value(), 20);
    QCOMPARE(f.draft().readString("skin:compact:points", "16x"), "10");
    QCOMPARE(f.draft().readString("skin:compact:points", "16y"), "20");
  }

  // Texts: geometry, font, colour, alignment and shadow go into the working file at once; a
  // picture that is not one, or a path the file cannot hold, is refused.
  void textLookAndRefusedPictures() {
    EditorFixture f;
    f.find<QPushButton>("b_skin_new")->click();
    f.find<QComboBox>("o_objects")->setCurrentIndex(13);  // money
    QVERIFY(!f.find<QPushButton>("b_file")->isEnabled());
    QVERIFY(f.find<QPushButton>("b_font")->isEnabled());
    f.find<QSpinBox>("e_x")->setValue(-3);
    f.find<QSpinBox>("e_a")->setValue(77);
    QCOMPARE(f.draft().readInt("skin:compact:money", "x", 0), -3);
    QCOMPARE(f.draft().readInt("skin:compact:money", "w", 0), 77);
    QFont font(QString("DejaVu Sans"), 300);
    font.setBold(false);
    font_dialog::setNextFont(font);
    f.find<QPushButton>("b_font")->click();
    QCOMPARE(f.draft().readString("skin:compact:money", "f"), "DejaVu Sans");
    QCOMPARE(f.draft().readInt("skin:compact:money", "s", 0), 100);
    QCOMPARE(f.draft().readInt("skin:compact:money", "b", 1), 0);
    QCOMPARE(f.find<QLabel>("p_font")->text(), QString("DejaVu Sans"));
    color_dialog::setNextColor(QColor(25, 50, 100));
    f.find<QPushButton>("p_color")->click();
    QCOMPARE(f.draft().readInt("skin:compact:money", "c", 0), 6566425);
    color_dialog::setNextColor(QColor());  // cancelled: nothing changes
    f.find<QPushButton>("p_color")->click();
    QCOMPARE(f.draft().readInt("skin:compact:money", "c", 0), 6566425);
    f.find<QComboBox>("o_align")->setCurrentIndex(2);
    QCOMPARE(f.draft().readInt("skin:compact:money", "a", 0), 2);
    f.find<QCheckBox>("o_shadow")->setChecked(true);
    color_dialog::setNextColor(QColor(255, 255, 255));
    f.find<QPushButton>("o_shadow_color")->click();
    QCOMPARE(f.draft().readInt("skin:compact", "shadow_use", 0), 1);
    QCOMPARE(f.draft().readInt("skin:compact", "shadow_color", 0), 16777215);
    auto* shadow = f.dialog->findChild<QLabel*>("s_money");
    QVERIFY(shadow && shadow->isVisible());
    QCOMPARE(shadow->pos(), QPoint(-2, 26));
    // Tariff and entry belong to the full mode: hidden while the compact one is edited.
    QVERIFY(!f.dialog->findChild<QLabel*>("s_tariff_s")->isVisible());

    // The author group replaces the object controls while it is shown.
    f.find<QPushButton>("b_info")->click();
    QCOMPARE(f.find<QPushButton>("b_info")->text(),
             QString::fromUtf8("ПАРАМЕТРЬI  ТЕМЬI  ИНТЕРФЕЙСА"));
    QVERIFY(f.find<QGroupBox>("z_author")->isVisible());
    f.find<QLineEdit>("e_name")->setText("Моя тема");
    f.find<QCheckBox>("o_comment")->setChecked(true);
    QVERIFY(f.find<QLineEdit>("e_comment")->isEnabled());
    QCOMPARE(f.draft().readString("skin:info", "name"), "Моя тема");
    QCOMPARE(f.draft().readInt("skin:info", "comment_use", 0), 1);
    f.find<QPushButton>("b_info")->click();
    QCOMPARE(f.find<QPushButton>("b_info")->text(), QString::fromUtf8("АВТОРСКАЯ  ИНФОРМАЦИЯ"));

    const fs::path junk = f.pictures() / "junk.bmp";
    fs::create_directories(f.pictures());
    test::ProgramDir::writeText(junk, "not a picture");
    f.boxes.answerNext(QMessageBox::Ok);
    f.pick(4, QString::fromStdString(junk.string()));
    LAST_BOX_IS(f, QString::fromUtf8("Ошибка загрузки изображения. Неправильный или "
                                     "неподдерживаемый формат файла."));
    QCOMPARE(f.find<QLabel>("p_file")->text(), kNotLoaded);
    QVERIFY(f.logText().find(" Failed loading image for skin. File format is not valid or not "
                             "supported.") != std::string::npos);
    f.boxes.answerNext(QMessageBox::Ok);
    f.pick(4, f.bitmap(QString::fromUtf8("日本.bmp"), 5, 5));
    QVERIFY(f.lastBox().contains(QString::fromUtf8("日本.bmp")));
    QVERIFY(!f.draft().hasKey("skin:img", "switch_of_0"));
    QCOMPARE(f.draft().readInt("skin:img", "switch_of_0x", 1), 0);
  }

  // The round trip: a two-mode skin made in the editor is what the status window shows, in
  // size and outline, in each of its modes.
  void savedSkinShapesTheStatusWindow() {
    EditorFixture f;
    f.find<QPushButton>("b_skin_new")->click();
    f.pickAll("c", QColor(40, 90, 140));  // a 60 x 30 face, the points on its border
    auto* points = f.find<QComboBox>("o_points");
    points->setCurrentIndex(0);
    f.find<QSpinBox>("o_pts_x")->setValue(12);  // the top-left corner cut away
    f.find<QComboBox>("o_objects")->setCurrentIndex(12);
    f.find<QSpinBox>("e_x")->setValue(22);
    f.find<QCheckBox>("o_shadow")->setChecked(true);
    f.boxes.answerNext(QMessageBox::No);  // separate pictures for the full mode
    f.find<QPushButton>("b_new_extended")->click();
    f.pick(0, f.bitmap("f0.bmp", 80, 50, QColor(140, 60, 40)), QMessageBox::Yes);
    for (int i = 1; i < 12; ++i) f.pick(i, f.bitmap(QString("f%1.bmp").arg(i), 12, 12));
    points->setCurrentIndex(12);
    f.find<QSpinBox>("o_pts_y")->setValue(20);           // the top-right corner cut away
    f.find<QComboBox>("o_objects")->setCurrentIndex(9);  // the online indicator
    f.find<QSpinBox>("e_x")->setValue(8);
    f.find<QSpinBox>("e_y")->setValue(20);
    QCOMPARE(f.dialog->findChild<QLabel*>("i_ind")->geometry(), QRect(8, 20, 12, 12));
    QVERIFY(f.dialog->findChild<QLabel*>("s_tariff_s")->isVisible());
    takeScreenshot(f, "settings-editor.png");

    const fs::path folder = f.dir.path() / "SKINS" / "round";
    f.boxes.answerNext(QMessageBox::Ok);
    f.save(folder);
    test::ProgramDir::writeText(f.dir.files().config(), "[Olm:TK:Skin]\nSkinExternal=1\nSkinName=" +
                                                            folder.string() + "/\nSkinSize=0\n");
    Ttarvik window(f.dir.files(), f.log, f.clock);
    QVERIFY(window.loadSkin());
    QCOMPARE(window.size(), QSize(60, 30));
    QVERIFY(window.mask().contains(QPoint(30, 15)));
    QVERIFY(!window.mask().contains(QPoint(1, 1)));
    QVERIFY(window.mask().contains(QPoint(58, 1)));
    QCOMPARE(window.findChild<QLabel*>("s_time_s")->pos(), QPoint(22, 10));
    QVERIFY(window.findChild<QLabel*>("s_time")->isVisibleTo(&window));
    QCOMPARE(window.findChild<QLabel*>("i_face")->pixmap().toImage().pixelColor(5, 5),
             QColor(40, 90, 140));

    window.switchMode();
    QVERIFY(window.fullModeChecked());
    QCOMPARE(window.size(), QSize(80, 50));
    QVERIFY(window.mask().contains(QPoint(1, 1)));
    QVERIFY(!window.mask().contains(QPoint(78, 1)));
    QVERIFY(window.mask().contains(QPoint(40, 40)));
    window.showStateCode("on");
    QCOMPARE(window.findChild<QLabel*>("i_ind")->geometry(), QRect(8, 20, 12, 12));
    QCOMPARE(window.findChild<QLabel*>("i_face")->pixmap().toImage().pixelColor(5, 5),
             QColor(140, 60, 40));
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabEditorTest)
#include "tab_editor_test.moc"
