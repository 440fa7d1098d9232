// The skin editor's files: pictures picked for one or both modes, the skin saved and opened
// again with the files beside it, the working draft resumed and a failed save reported.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>

#include "platform/qt/file_dialog.h"
#include "tests/settings/qt/editor_fixture.h"

namespace tarvik {

using test::EditorFixture;
using test::hasAll;
using test::kNotLoaded;
namespace fs = std::filesystem;

class TabEditorFilesTest : public QObject {
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
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabEditorFilesTest)
#include "tab_editor_files_test.moc"
