#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "platform/qt/file_dialog.h"
#include "settings/qt/pages/tab_skin.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;
using test::ProgramDir;

class TabSkinTest : public QObject {
  Q_OBJECT

  static QString text(const DialogFixture& f, const char* label) {
    return f.find<QLabel>(label)->text();
  }

 private slots:
  // Load -> previews while changing -> ПРИМЕНИТЬ stores the keys and reloads the skin;
  // ОТМЕНА after a preview hands the window back to the stored settings.
  void loadPreviewApplyCancel() {
    DialogFixture f;
    f.dir.writeConfig(
        "[Olm:TK]\nTransparent=1\nOpacity=40\nFade=0\nSpeed=30\nPriority=1\n"
        "[Olm:TK:Skin]\nSkinExternal=0\nSkinName=Default\n");
    f.dialog->showOnPage(PageId::Skin);
    auto* transparent = f.find<QCheckBox>("o_transpar");
    auto* opacity = f.find<QSlider>("x_transpar");
    QVERIFY(transparent->isChecked());
    QCOMPARE(opacity->value(), 40);
    QCOMPARE(opacity->maximum(), 75);
    QCOMPARE(text(f, "s_transpar"), QString("40 %"));
    QVERIFY(!f.find<QSlider>("x_fade")->isEnabled());
    QCOMPARE(text(f, "s_fade"), QString("(  УМЕРЕННОЕ   )"));
    QVERIFY(f.find<QCheckBox>("o_absolute")->isChecked());
    QVERIFY(f.find<QRadioButton>("o_int_def")->isChecked());
    QCOMPARE(text(f, "act_name"), QString("СТАНДАРТНАЯ"));
    QCOMPARE(text(f, "act_ver"), QString("версия: 1.1"));
    QCOMPARE(text(f, "new_name"), QString("СТАНДАРТНАЯ"));
    QVERIFY(f.host.transparencies.empty());  // loading previews nothing
    QVERIFY(!f.find<QPushButton>("b_apply")->isEnabled());

    opacity->setValue(60);
    QCOMPARE(f.host.transparencies.back(), 60);
    QCOMPARE(text(f, "s_transpar"), QString("60 %"));
    transparent->click();
    QCOMPARE(f.host.transparencies.back(), 0);  // unchecked: fully opaque at once
    QVERIFY(!opacity->isEnabled());
    f.find<QCheckBox>("o_fade")->click();
    f.find<QSlider>("x_fade")->setValue(50);
    QCOMPARE(text(f, "s_fade"), QString("(  МЕДЛЕННОЕ   )"));
    f.find<QRadioButton>("o_int_adv")->click();
    QCOMPARE(text(f, "new_name"), QString("РАСШИРЕННАЯ"));
    QCOMPARE(text(f, "new_ver"), QString("версия: 1.0"));
    QCOMPARE(text(f, "act_name"), QString("СТАНДАРТНАЯ"));

    f.find<QPushButton>("b_apply")->click();
    IniFile config = f.config();
    QCOMPARE(config.readInt("Olm:TK", "Transparent", 1), 0);
    QCOMPARE(config.readInt("Olm:TK", "Opacity", 0), 60);
    QCOMPARE(config.readInt("Olm:TK", "Fade", 0), 1);
    QCOMPARE(config.readInt("Olm:TK", "Speed", 0), 50);
    QCOMPARE(config.readInt("Olm:TK", "Priority", 0), 1);
    QCOMPARE(config.readString("Olm:TK:Skin", "SkinName"), std::string("Advanced"));
    QCOMPARE(config.readInt("Olm:TK:Skin", "SkinExternal", 1), 0);
    QCOMPARE(f.host.reloads.back(), true);  // the skin changed

    // Cancelled while ОК waits for an external skin file: the preview is still undone, and
    // the countdown ends with the dialog.
    transparent->click();
    opacity->setValue(10);
    QCOMPARE(f.host.transparencies.back(), 10);
    f.find<QRadioButton>("o_ext")->click();
    QVERIFY(!f.find<QPushButton>("b_ok")->isEnabled());
    const std::size_t reloads = f.host.reloads.size();
    f.find<QPushButton>("b_cancel")->click();
    QCOMPARE(f.host.reloads.size(), reloads + 1);
    QCOMPARE(f.host.reloads.back(), false);
    QCOMPARE(f.config().readInt("Olm:TK", "Opacity", 0), 60);
    f.find<TabSkin>("tabSkin")->countdownStep();
    QVERIFY(!f.find<QTimer>("t_countdown")->isActive());
    QVERIFY(f.find<QPushButton>("b_ok")->isEnabled());
    QVERIFY(f.find<QRadioButton>("o_ext")->isChecked());  // nothing chosen behind the user's back
  }

  // Picking an external skin: the countdown returns to the built-in skin when it runs out, a
  // cancelled pick starts it again, a skin for a newer program is taken with a warning and the
  // author's note, and a file that is no skin is refused.
  void externalSkinChoice() {
    DialogFixture f;
    const std::filesystem::path folder = f.dir.path() / "SKINS" / "autumn";
    std::filesystem::create_directories(folder);
    ProgramDir::writeText(folder / "skin.qsf",
                          "[skin]\ngeneration=4\nsupport=41\n[skin:info]\nname=Осень\n"
                          "version=2\nauthor=Иван\nmail=ivan@example.org\ncomment_use=1\n"
                          "comment_msg=Добрый вечер\n");
    f.dialog->showOnPage(PageId::Skin);
    auto* page = f.find<TabSkin>("tabSkin");
    auto* ok = f.find<QPushButton>("b_ok");
    auto* apply = f.find<QPushButton>("b_apply");
    auto* countdown = f.find<QTimer>("t_countdown");
    QVERIFY(f.find<QRadioButton>("o_int_adv")->isChecked());  // the default skin

    f.find<QRadioButton>("o_ext")->click();
    QVERIFY(!ok->isEnabled());
    QVERIFY(!apply->isEnabled());
    QVERIFY(countdown->isActive());
    QCOMPARE(text(f, "new_name"), QString("ДЛЯ  ВЬIБОРА  ВНЕШНЕЙ  ТЕМЬI"));
    QCOMPARE(text(f, "new_ver"), QString("НАЖМИТЕ  НА  КНОПКУ  ЗАГРУЗКИ"));
    QCOMPARE(text(f, "new_author"), QString("В  ТЕЧЕНИЕ  10  СЕКУНД"));
    for (int i = 0; i < 9; ++i) page->countdownStep();
    QCOMPARE(text(f, "new_author"), QString("В  ТЕЧЕНИЕ  1  СЕКУНД"));
    page->countdownStep();
    QVERIFY(!countdown->isActive());
    QVERIFY(ok->isEnabled());
    QVERIFY(f.find<QRadioButton>("o_int_adv")->isChecked());
    QCOMPARE(text(f, "new_name"), QString("РАСШИРЕННАЯ"));

    file_dialog::setNextFileName("");
    f.find<QPushButton>("b_load")->click();
    QVERIFY(countdown->isActive());
    QVERIFY(f.find<QRadioButton>("o_ext")->isChecked());

    // A folder whose name the settings file cannot hold is refused like a cancelled pick:
    // kept, it would name a folder that is not there.
    const std::filesystem::path foreign = f.dir.path() / "SKINS" / "Café ☕";
    std::filesystem::create_directories(foreign);
    std::filesystem::copy_file(folder / "skin.qsf", foreign / "skin.qsf");
    file_dialog::setNextFileName(QString::fromStdString((foreign / "skin.qsf").string()));
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_load")->click();
    QCOMPARE(f.boxes.texts().value(0).section('\n', 0, 1),
             QString("Путь к файлу содержит символы, которые невозможно сохранить в файле "
                     "настроек:\n") +
                 QString::fromStdString((foreign / "skin.qsf").string()));
    QVERIFY(countdown->isActive());
    QVERIFY(!ok->isEnabled());
    QCOMPARE(text(f, "new_name"), QString("ДЛЯ  ВЬIБОРА  ВНЕШНЕЙ  ТЕМЬI"));

    file_dialog::setNextFileName(QString::fromStdString((folder / "skin.qsf").string()));
    f.boxes.answerNext(QMessageBox::Ok);
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_load")->click();
    QVERIFY(!countdown->isActive());
    QVERIFY(ok->isEnabled());
    QVERIFY(apply->isEnabled());
    const QStringList boxes = f.boxes.texts().mid(1);
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes[0].startsWith("Загружаемая тема интерфейса поддерживается другой версией"));
    QCOMPARE(boxes[1], QString("Информация от автора темы интерфейса:\n\t«Добрый вечер»"));
    QVERIFY(f.logText().find(" Skin algorithm version is higher than supported.") !=
            std::string::npos);
    QCOMPARE(text(f, "new_name"), QString("Осень"));
    QCOMPARE(text(f, "new_author"), QString("автор: Иван"));
    QVERIFY(f.find<QLabel>("new_email")->isEnabled());
    QVERIFY(!f.find<QLabel>("new_web")->isEnabled());  // a blank is no address
    QTest::mouseClick(f.find<QLabel>("new_email"), Qt::LeftButton);
    QCOMPARE(f.host.opened.back(), std::string("mailto:ivan@example.org"));

    ok->click();
    QCOMPARE(f.config().readInt("Olm:TK:Skin", "SkinExternal", 0), 1);
    QCOMPARE(f.config().readString("Olm:TK:Skin", "SkinName"), folder.string() + "/");
    QCOMPARE(f.host.reloads.back(), true);

    // The next show names the external skin as the active one.
    f.dialog->showOnPage(PageId::Skin);
    QVERIFY(f.find<QRadioButton>("o_ext")->isChecked());
    QCOMPARE(text(f, "act_name"), QString("Осень"));

    ProgramDir::writeText(folder / "skin.qsf", "[skin:info]\nname=Не тема\n");
    file_dialog::setNextFileName(QString::fromStdString((folder / "skin.qsf").string()));
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_load")->click();
    QCOMPARE(f.boxes.texts().last(),
             QString("Файл не является темой интерфейса либо не поддерживается программой."));
    QVERIFY(f.find<QRadioButton>("o_int_adv")->isChecked());
    f.find<QPushButton>("b_apply")->click();
    QCOMPARE(f.config().readString("Olm:TK:Skin", "SkinName"), std::string("Advanced"));
    QCOMPARE(f.config().readInt("Olm:TK:Skin", "SkinExternal", 1), 0);
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::TabSkinTest)
#include "tab_skin_test.moc"
