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
#include "tests/settings/qt/dialog_fixture.h"

// The text of the last box answered, shown whole when it differs.
#define LAST_BOX_IS(f, expected)                                              \
  do {                                                                        \
    const QString last = (f).lastBox();                                       \
    QVERIFY2(last == (expected), qPrintable(QStringLiteral("box: ") + last)); \
  } while (false)

namespace tarvik {

using test::DialogFixture;
namespace fs = std::filesystem;

namespace {

const QString kNotLoaded = QString::fromUtf8("[   ФАЙЛ  НЕ  ЗАГРУЖЕН   ]");

// The skin editor on its page, with pictures made on the spot.
struct EditorFixture : DialogFixture {
  EditorFixture() { dialog->showOnPage(PageId::Editor); }

  fs::path pictures() const { return dir.path() / "pics"; }
  // A w x h bitmap of one colour.
  QString bitmap(const QString& name, int w, int h, QColor color = Qt::darkCyan) const {
    fs::create_directories(pictures());
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    const QString path = QString::fromStdString((pictures() / name.toStdString()).string());
    if (!image.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
    return path;
  }
  // Picks `file` for object `index` of o_objects; the window object also asks where the
  // control points go.
  void pick(int index, const QString& file, QMessageBox::StandardButton points = QMessageBox::No) {
    find<QComboBox>("o_objects")->setCurrentIndex(index);
    file_dialog::setNextFileName(file);
    if (index == 0) boxes.answerNext(points);
    find<QPushButton>("b_file")->click();
  }
  // Pictures for all twelve image objects, `prefix` + index, 20 x 10 (the face 60 x 30).
  void pickAll(const QString& prefix, QColor color = Qt::darkCyan) {
    for (int i = 0; i < 12; ++i)
      pick(i,
           bitmap(prefix + QString::number(i) + ".bmp", i == 0 ? 60 : 20, i == 0 ? 30 : 10, color),
           QMessageBox::Yes);
  }
  // Saves into `folder` under `name`; the answer boxes are the caller's.
  void save(const fs::path& folder, const QString& name = "skin.qsf") {
    fs::create_directories(folder);
    file_dialog::setNextFileName(QString::fromStdString((folder / name.toStdString()).string()));
    find<QPushButton>("b_skin_save")->click();
  }
  IniFile draft() const { return IniFile(dir.files().skinDraft()); }
  QString lastBox() { return boxes.texts().value(boxes.texts().size() - 1); }
};

// With TARVIK_SCREENSHOT_DIR set (tools/screenshots.sh), the dialog as it stands is saved
// there at twice its size.
void takeScreenshot(EditorFixture& f, const char* name) {
  const QString dir = qEnvironmentVariable("TARVIK_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  const QPixmap shot = f.dialog->grab();
  QVERIFY(shot.scaled(shot.size() * 2).save(QDir(dir).filePath(name)));
}

bool hasAll(const fs::path& folder, const char* suffix) {
  for (const char* name : kSkinBitmapNames)
    if (!fs::exists(folder / (std::string(name) + suffix))) return false;
  return true;
}

}  // namespace

class TabEditorTest : public QObject {
  Q_OBJECT

 private slots:
  // One bitmap set for both modes: a picture counts for both, the count check names the
  // missing ones, and the folder gets the plain names only.
  void sharedPicturesCountedAndSavedPlain() {
    EditorFixture f;
    QVERIFY(!f.find<QPushButton>("b_skin_save")->isEnabled());
    QVERIFY(!f.find<QComboBox>("o_objects")->isEnabled());
    f.find<QPushButton>("b_skin_new")->click();
    QVERIFY(f.find<QPushButton>("b_skin_save")->isEnabled());
    QVERIFY(f.find<QCheckBox>("o_same")->isChecked());
    QVERIFY(f.find<QRadioButton>("o_compact")->isChecked());
    QCOMPARE(f.draft().readInt("skin:temp", "is1", 0), 1);
    QVERIFY(f.logText().find(" Skin (compact mode) creation has begun.") != std::string::npos);

    for (int i = 0; i < 11; ++i)
      f.pick(i, f.bitmap(QString("p%1.bmp").arg(i), i == 0 ? 60 : 20, i == 0 ? 30 : 10));
    QCOMPARE(f.find<QLabel>("p_file")->text(), QString("[   OK   ]"));
    f.find<QComboBox>("o_objects")->setCurrentIndex(11);
    QCOMPARE(f.find<QLabel>("p_file")->text(), kNotLoaded);
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_skin_save")->click();
    LAST_BOX_IS(f,
                QString::fromUtf8("Сохранение темы невозможно из-за отсутсвия некоторых из её "
                                  "графических компонентов.\nПроверьте наличие каждого изображения"
                                  "(загружено 11 из 12 изображений)."));

    f.boxes.answerNext(QMessageBox::Yes);  // the same pictures for the full mode
    f.find<QPushButton>("b_new_extended")->click();
    QVERIFY(f.find<QRadioButton>("o_extended")->isChecked());
    QVERIFY(f.find<QCheckBox>("o_extended_use")->isChecked());
    QCOMPARE(f.draft().readInt("skin", "separated", 1), 0);
    QCOMPARE(f.draft().readString("skin:img", "face_1"),
             f.draft().readString("skin:img", "face_0"));
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_skin_save")->click();
    LAST_BOX_IS(f,
                QString::fromUtf8("Сохранение темы невозможно из-за отсутсвия некоторых из её "
                                  "графических компонентов.\nПроверьте наличие каждого изображения"
                                  " в обоих режимах её отображения\n(загружено 22 из 24 "
                                  "изображений)."));

    // The last picture, chosen in the full mode, is stored for the compact mode too.
    f.pick(11, f.bitmap("p11.bmp", 20, 10));
    QCOMPARE(f.draft().readString("skin:img", "ind_xx_0"), (f.pictures() / "p11.bmp").string());
    const fs::path folder = f.dir.path() / "SKINS" / "shared";
    f.boxes.answerNext(QMessageBox::Ok);
    f.save(folder);
    LAST_BOX_IS(f, QString::fromUtf8("Тема интерфейса была успешно сохранена в каталог:\n") +
                       QString::fromStdString(folder.string() + "/"));
    QVERIFY(hasAll(folder, ".bmp"));
    QVERIFY(!fs::exists(folder / "face_c.bmp"));
    QVERIFY(!fs::exists(folder / "face_f.bmp"));
    const IniFile skin(folder / "skin.qsf");
    QCOMPARE(skin.readInt("skin", "double", 0), 1);
    QCOMPARE(skin.readInt("skin", "generation", 0), 4);
    QCOMPARE(skin.readInt("skin", "support", 0), 40);
    QCOMPARE(skin.readString("skin", "generator"), "TRK.2.4.0.internal.1.0");
    QVERIFY(!skin.hasSection("skin:temp"));
    QVERIFY(!skin.hasSection("skin:img"));
    QCOMPARE(skin.readString("skin:info", "author"), "неизвестный");
    const std::string log = f.logText();
    QVERIFY(log.find(" Skin creating complete.") != std::string::npos);
    QVERIFY(log.find(" Skin saved into: " + folder.string() + "/") != std::string::npos);
    // The project stays open on its compact mode.
    QVERIFY(f.find<QPushButton>("b_skin_save")->isEnabled());
    QVERIFY(f.find<QRadioButton>("o_compact")->isChecked());
  }

  // Separate sets: twelve _c and twelve _f pictures; only skin.qsf, in any case, is taken.
  void separatePicturesAndTheFileName() {
    EditorFixture f;
    f.find<QPushButton>("b_skin_new")->click();
    f.boxes.answerNext(QMessageBox::No);
    f.find<QPushButton>("b_new_extended")->click();
    QCOMPARE(f.draft().readInt("skin", "separated", 0), 1);
    QVERIFY(!f.find<QCheckBox>("o_same")->isChecked());
    f.pickAll("full", Qt::darkRed);
    f.find<QRadioButton>("o_compact")->click();
    QCOMPARE(f.find<QLabel>("p_file")->text(), kNotLoaded);
    f.pickAll("compact", Qt::darkBlue);
    QVERIFY(f.draft().readString("skin:img", "face_0") !=
            f.draft().readString("skin:img", "face_1"));

    const fs::path folder = f.dir.path() / "SKINS" / "two";
    f.boxes.answerNext(QMessageBox::Ok);
    f.save(folder, "other.qsf");
    LAST_BOX_IS(f, QString::fromUtf8("Тему интерфейса можно сохранить ТОЛЬКО в файл с "
                                     "именем «skin.qsf»!\nВы указали другое имя файла. "
                                     "Сохранение прервано."));
    QVERIFY(!fs::exists(folder / "other.qsf"));
    f.boxes.answerNext(QMessageBox::Ok);
    f.save(folder, "SKIN.QSF");
    QVERIFY(fs::exists(folder / "skin.qsf"));
    QCOMPARE(IniFile(folder / "skin.qsf").readInt("skin", "separated", 0), 1);
    QVERIFY(hasAll(folder, "_c.bmp"));
    QVERIFY(hasAll(folder, "_f.bmp"));
    QVERIFY(!fs::exists(folder / "face.bmp"));
    QCOMPARE(QImage(QString::fromStdString((folder / "face_f.bmp").string())).pixelColor(1, 1),
             QColor(Qt::darkRed));
    QCOMPARE(QImage(QString::fromStdString((folder / "face_c.bmp").string())).pixelColor(1, 1),
             QColor(Qt::darkBlue));
  }

  // An opened skin with only its background replaced keeps every other file of its folder.
  void openedSkinKeepsItsOtherFiles() {
    EditorFixture f;
    const fs::path source = f.dir.path() / "SKINS" / "old";
    fs::create_directories(source);
    test::ProgramDir::writeText(source / "skin.qsf",
                                "[skin]\ngeneration=4\nsupport=40\ndouble=0\nseparated=0\n"
                                "[skin:info]\nauthor=Somebody\n[skin:compact:time]\nx=17\n");
    for (const char* name : kSkinBitmapNames) {
      const QString made = f.bitmap(QString(name) + ".bmp", 30, 30, Qt::green);
      fs::copy_file(made.toStdString(), source / (std::string(name) + ".bmp"));
    }
    test::ProgramDir::writeText(source / "readme.txt", "hello\n");

    file_dialog::setNextFileName(QString::fromStdString((source / "skin.qsf").string()));
    f.find<QPushButton>("b_skin_load")->click();
    QVERIFY(f.logText().find(" Importing skin...") != std::string::npos);
    QVERIFY(!f.find<QPushButton>("b_new_compact")->isEnabled());
    QVERIFY(!f.find<QPushButton>("b_new_extended")->isEnabled());
    QCOMPARE(f.find<QLabel>("p_file")->text(), QString("[   OK   ]"));
    QCOMPARE(f.draft().readInt("skin:img", "switch_dn_0x", 0), 1);
    QCOMPARE(f.find<QLineEdit>("e_author")->text(), QString("Somebody"));
    f.find<QComboBox>("o_objects")->setCurrentIndex(12);
    QCOMPARE(f.find<QSpinBox>("e_x")->value(), 17);

    f.pick(0, f.bitmap("new_face.bmp", 50, 40, Qt::magenta));
    const fs::path target = f.dir.path() / "SKINS" / "new";
    f.boxes.answerNext(QMessageBox::Ok);
    f.save(target);
    QCOMPARE(QImage(QString::fromStdString((target / "face.bmp").string())).size(), QSize(50, 40));
    QCOMPARE(QImage(QString::fromStdString((target / "ind_on.bmp").string())).size(),
             QSize(30, 30));
    QVERIFY(hasAll(target, ".bmp"));
    QVERIFY(fs::exists(target / "readme.txt"));
    QCOMPARE(IniFile(target / "skin.qsf").readString("skin:info", "author"), "Somebody");
    QCOMPARE(IniFile(target / "skin.qsf").readInt("skin:compact:face", "w", 0), 50);
    QVERIFY(f.logText().find(" Skin editing complete.") != std::string::npos);

    // A file that is no skin is refused with the skin page's message.
    test::ProgramDir::writeText(f.dir.path() / "skin.qsf", "[skin]\nname=x\n");
    file_dialog::setNextFileName(QString::fromStdString((f.dir.path() / "skin.qsf").string()));
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_skin_load")->click();
    LAST_BOX_IS(f, QString::fromUtf8("Файл не является темой интерфейса либо не "
                                     "поддерживается программой."));
  }

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

  // A working file left from earlier work is taken up again by the next new skin; a save
  // that cannot copy a picture says so instead of reporting success.
  void leftoverDraftResumedAndFailedSaveReported() {
    EditorFixture f;
    const QString face = f.bitmap("kept.bmp", 40, 20);
    test::ProgramDir::writeText(f.dir.files().skinDraft(),
                                "[skin:temp]\nis1=1\n[skin:compact:time]\nx=42\n[skin:img]\n"
                                "face_0=" +
                                    face.toStdString() +
                                    "\nface_0x=1\n"
                                    "[skin:info]\nname=Старая\n");
    f.find<QPushButton>("b_skin_new")->click();
    QCOMPARE(f.find<QLabel>("p_file")->text(), QString("[   OK   ]"));
    QCOMPARE(f.find<QLineEdit>("e_name")->text(), QString::fromUtf8("Старая"));
    f.find<QComboBox>("o_objects")->setCurrentIndex(12);
    QCOMPARE(f.find<QSpinBox>("e_x")->value(), 42);

    // Starting afresh asks first; No keeps the work.
    f.boxes.answerNext(QMessageBox::No);
    f.find<QPushButton>("b_skin_new")->click();
    QCOMPARE(f.draft().readString("skin:img", "face_0"), face.toStdString());

    for (int i = 1; i < 12; ++i) f.pick(i, f.bitmap(QString("q%1.bmp").arg(i), 8, 8));
    fs::remove(f.pictures() / "q5.bmp");
    const fs::path folder = f.dir.path() / "SKINS" / "broken";
    f.boxes.answerNext(QMessageBox::Ok);
    f.save(folder);
    QVERIFY(f.lastBox().startsWith(QString::fromUtf8("Не все файлы темы удалось записать")));
    QVERIFY(f.lastBox().contains("q5.bmp"));
    QVERIFY(f.logText().find(" Failed saving skin into: ") != std::string::npos);
    QVERIFY(f.logText().find(" Skin creating complete.") == std::string::npos);

    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_skin_new")->click();
    QVERIFY(!f.draft().hasKey("skin:img", "face_0"));
    QCOMPARE(f.find<QLabel>("p_file")->text(), kNotLoaded);
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
