#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>
#include <map>
#include <set>

#include "config/keys.h"
#include "settings/page_keys.h"
#include "settings/qt/settings_dialog.h"
#include "support/program_dir.h"
#include "tests/settings/qt/dialog_fixture.h"

namespace tarvik {

using test::DialogFixture;

namespace {

// Where a window stood when it was shown.
struct PlaceAtShow : QObject {
  explicit PlaceAtShow(QWidget& window) { window.installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) at = static_cast<QWidget*>(watched)->geometry();
    return false;
  }
  QRect at;
};

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // Hand-edited extremes in every key a page shows: every page loads them without ending the
  // program, and ОК writes back only what the controls allow.
  void hostileValuesAreBroughtIntoRangeOnEveryPage() {
    std::set<std::string> globalNames;
    for (const auto& key : global_keys::kIntKeys) globalNames.insert(key.name.str());
    globalNames.insert(global_keys::kIcon.name.str());
    globalNames.insert(global_keys::kAction.name.str());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const char* extreme :
         {"2147483647", "-2147483648", "99999", "-5", "1e308", "-99999999999", "$FFFFFFFF"}) {
      std::string keys;
      for (PageId page : kAllPages) {
        for (const PageKey& row : pageKeys(page))
          keys += std::string(row.key.view()) + "=" + extreme + "\n";
      }
      for (const auto& graph : entry_keys::kGraph) keys += graph.name.str() + "=" + extreme + "\n";
      DialogFixture f({"ISP"});
      f.dir.writeConfig("[Olm:TK]\nEntry=1\n" + keys + "[Olm:TK:Skin]\n" + keys +
                        "[ISP]\nDone=1\n" + keys);
      for (int page = kPageCount - 1; page >= 0; --page) f.dialog->showOnPage(kAllPages[page]);
      f.find<QPushButton>("b_ok")->click();
      QVERIFY2(!f.dialog->isVisible(), extreme);

      const IniFile config = f.config();
      for (PageId page : kAllPages) {
        std::map<std::string_view, int> choiceLast;
        for (const PageKey& row : pageKeys(page)) {
          if (row.shows == Shows::Choice)
            choiceLast[row.key.view()] = std::max(choiceLast[row.key.view()], row.value);
        }
        for (const PageKey& row : pageKeys(page)) {
          const std::string name(row.key.view());
          const std::string section = globalNames.contains(name) ? "Olm:TK" : "ISP";
          if (!config.hasKey(section, name)) continue;  // not the dialog's to write
          const int value = config.readInt(section, name, 0);
          const std::string where =
              std::string(extreme) + ": " + section + " " + name + "=" + std::to_string(value);
          const Range range = row.range();
          int min = range.min, max = range.max;
          if (range.step != 0 && max == 0) max = std::max(screen.width(), screen.height());
          if (choiceLast.contains(row.key.view())) max = choiceLast[row.key.view()];
          if (range.step == 0 && !choiceLast.contains(row.key.view())) continue;  // switches, texts
          QVERIFY2(value >= min && value <= max, where.c_str());
        }
      }
      for (const auto& graph : entry_keys::kGraph)
        QVERIFY2(graph.range.contains(config.readInt("ISP", graph.name.str(), 0)), extreme);
    }
  }

  // The tray opens the dialog on a page: fixed size, the page's button bold, the remembered
  // entry selected, or "Default" when it points past the end of the list.
  void opensOnPageWithTheRememberedEntry() {
    DialogFixture f({"ISP", "Work"});
    f.dir.writeConfig("[Olm:TK]\nEntry=2\n");
    f.dialog->showOnPage(PageId::Stat);
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.dialog->size(), QSize(750, 235));
    QCOMPARE(f.dialog->minimumSize(), f.dialog->maximumSize());
    QCOMPARE(f.dialog->currentPage(), PageId::Stat);
    QVERIFY(f.find<QPushButton>("b_tab_stat")->font().bold());
    QVERIFY(!f.find<QPushButton>("b_tab_cfg")->font().bold());
    QCOMPARE(f.find<QComboBox>("o_entry")->currentText(), QString("Work"));
    QCOMPARE(f.dialog->windowTitle(), QString("Настройки для учётной записи «Work»..."));
    QCOMPARE(f.find<QComboBox>("o_entry_src")->count(), 3);
    QVERIFY(!f.find<QPushButton>("b_apply")->isEnabled());
    f.dialog->cancel();

    f.dir.writeConfig("[Olm:TK]\nEntry=3\n");
    f.dialog->showOnPage(PageId::Info);
    QCOMPARE(f.find<QComboBox>("o_entry")->currentIndex(), 0);
    QCOMPARE(f.dialog->windowTitle(), QString("Настройки для учётных записей по умолчанию..."));
    QVERIFY(f.find<QPushButton>("b_tab_info")->font().bold());
    QVERIFY(!f.find<QPushButton>("b_tab_stat")->font().bold());
    QTest::keyClick(f.dialog.get(), Qt::Key_F1);
    QCOMPARE(f.host.helpContexts, std::vector<int>{9});
  }

  // The remote-access service changed while the dialog is open: both entry lists show the new
  // phonebook and the entry being edited stays selected, unasked; once the phonebook lacks
  // it, the dialog goes to "Default" as a change of entry would, asking about the change.
  void entryListsFollowAChangedPhonebook() {
    DialogFixture f({"ISP", "Work"});
    f.dir.writeConfig("[Olm:TK]\nEntry=2\n");
    f.dialog->showOnPage(PageId::Cfg);
    auto* entry = f.find<QComboBox>("o_entry");
    const auto items = [](QComboBox* box) {
      QStringList texts;
      for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
      return texts;
    };
    f.host.entries = {"VPN", "Work"};
    f.dialog->phonebookChanged();
    QCOMPARE(items(entry), QStringList({"Default", "VPN", "Work"}));
    QCOMPARE(items(f.find<QComboBox>("o_entry_src")), QStringList({"Default", "VPN", "Work"}));
    QCOMPARE(entry->currentText(), QString("Work"));
    QCOMPARE(f.dialog->windowTitle(), QString("Настройки для учётной записи «Work»..."));

    f.find<QSpinBox>("e_balloon")->setValue(11);
    f.host.entries = {"VPN"};
    f.boxes.answerNext(QMessageBox::No);
    f.dialog->phonebookChanged();
    QCOMPARE(items(entry), QStringList({"Default", "VPN"}));
    QCOMPARE(entry->currentIndex(), 0);
    QCOMPARE(f.dialog->windowTitle(), QString("Настройки для учётных записей по умолчанию..."));
    QCOMPARE(f.boxes.texts(), QStringList({"Настройки учётной записи «Work» не были сохранены.\n"
                                           "Сохранить их сейчас?"}));
    QVERIFY(!f.config().hasKey("Work", "Done"));
  }

  // Every page fits the fixed frame: no group, button or caption is squeezed below the size
  // its text needs.
  void everyCaptionFits() {
    DialogFixture f({"ISP"});
    f.dialog->showOnPage(PageId::Cfg);
    // The design size needs no scrolling.
    QVERIFY(!f.dialog->findChild<QScrollArea*>());
    for (PageId page : kAllPages) {
      f.dialog->selectPage(page);
      QApplication::processEvents();
      const QStringList squeezed = test::squeezedControls(*f.dialog);
      QVERIFY2(squeezed.isEmpty(), qPrintable(squeezed.join(' ')));
    }
  }

  // Placed before it is mapped, its frame centred on the free part of the screen at every
  // show. The keyboard: ИЗМЕНИТЬ hands the balance field the typing, Esc there puts the
  // balance back and Esc in another field only leaves it; Enter presses the focused button,
  // elsewhere ОК, the default one.
  void placementAndKeyboard() {
    DialogFixture f({"ISP"});
    f.dir.writeAccounts("[Default]\nAccount=150,5\n");
    PlaceAtShow shown(*f.dialog);
    f.dialog->showOnPage(PageId::Stat);
    QApplication::processEvents();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed = f.dialog->geometry();
    QCOMPARE(shown.at, placed);
    QVERIFY(qAbs(placed.center().x() - area.center().x()) <= 1);
    // Lower than the centre by at most half the title bar the frame adds on top.
    QVERIFY(placed.center().y() >= area.center().y());
    QVERIFY(placed.center().y() <= area.center().y() + kDialogFrameHeight / 2);

    auto* balance = f.find<QLineEdit>("e_acc");
    f.find<QPushButton>("b_acc")->click();
    QCOMPARE(f.dialog->focusWidget(), balance);
    QCOMPARE(balance->selectedText(), QString("150,5"));
    QTest::keyClicks(balance, "99");
    QCOMPARE(balance->text(), QString("99"));
    QTest::keyClick(balance, Qt::Key_Escape);
    QCOMPARE(balance->text(), QString("150,5"));
    QVERIFY(!balance->isEnabled());
    QVERIFY(f.dialog->isVisible());

    f.dialog->selectPage(PageId::Tar);
    auto* name = f.find<QLineEdit>("e_cap");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Escape);
    QVERIFY(f.dialog->isVisible());
    QVERIFY(f.dialog->focusWidget() != name);
    f.dialog->move(0, 0);
    QTest::keyClick(f.dialog.get(), Qt::Key_Escape);
    QVERIFY(!f.dialog->isVisible());
    // Shown again, with the frame the window system gave it known: centred to the pixel.
    f.dialog->showOnPage(PageId::Cfg);
    QVERIFY(qAbs(f.dialog->frameGeometry().center().y() - area.center().y()) <= 1);
    QVERIFY(qAbs(f.dialog->frameGeometry().center().x() - area.center().x()) <= 1);

    QVERIFY(f.find<QPushButton>("b_ok")->isDefault());
    f.find<QSpinBox>("e_balloon")->setValue(12);
    auto* x = f.find<QSpinBox>("e_xx");
    x->setFocus();
    QTest::keyClick(x, Qt::Key_Return);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.config().readInt("Olm:TK", "HelpTime", 0), 12);
    f.dialog->showOnPage(PageId::Cfg);
    f.find<QSpinBox>("e_balloon")->setValue(11);
    auto* cancel = f.find<QPushButton>("b_cancel");
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.config().readInt("Olm:TK", "HelpTime", 0), 12);
  }

  // ОК with nothing changed still writes both parts: the entry that showed the "Default"
  // settings gets them as its own, and "Entry" remembers it.
  void okWithoutChangesGivesTheEntryOwnSettings() {
    DialogFixture f({"ISP"});
    f.dir.writeConfig("[Olm:TK]\nEntry=1\n[Default]\nDone=1\nHangUpTime=600\n");
    f.dialog->showOnPage(PageId::Cfg);
    QVERIFY(f.logText().find(" Failed loading settings for «ISP» entry.") != std::string::npos);
    f.find<QPushButton>("b_ok")->click();
    QVERIFY(!f.dialog->isVisible());
    const IniFile config = f.config();
    QCOMPARE(config.readInt("ISP", "Done", 0), 1);
    QCOMPARE(config.readInt("ISP", "HangUpTime", 0), 600);
    QCOMPARE(config.readInt("Olm:TK", "Entry", 0), 1);
    QVERIFY(config.hasKey("Olm:TK", "HelpTime"));
    // One reload, from the apply; the hide of ОК does not reload again.
    QCOMPARE(f.host.reloads, std::vector<bool>{false});
    QVERIFY(f.find<QPushButton>("b_ok")->isEnabled());
  }

  // A global change followed by an entry switch: Yes saves only the previous entry, the
  // global change stays in its control and ПРИМЕНИТЬ is off; No leaves no trace.
  void entrySwitchAsksAboutUnsavedChanges() {
    DialogFixture f({"ISP", "Work"});
    f.dialog->showOnPage(PageId::Cfg);
    auto* entry = f.find<QComboBox>("o_entry");
    auto* apply = f.find<QPushButton>("b_apply");
    auto* balloon = f.find<QSpinBox>("e_balloon");
    balloon->setValue(11);
    QVERIFY(apply->isEnabled());

    f.boxes.answerNext(QMessageBox::Yes);
    entry->setCurrentIndex(1);
    QCOMPARE(f.boxes.texts().value(0),
             QString("Настройки учётной записи «Default» не были сохранены.\n"
                     "Сохранить их сейчас?"));
    QCOMPARE(f.config().readInt("Default", "Done", 0), 1);
    QVERIFY(!f.config().hasKey("Olm:TK", "HelpTime"));
    QCOMPARE(balloon->value(), 11);
    QVERIFY(!apply->isEnabled());

    balloon->setValue(12);
    f.boxes.answerNext(QMessageBox::No);
    entry->setCurrentIndex(2);
    QCOMPARE(f.boxes.texts().size(), 2);
    QVERIFY(!f.config().hasSection("ISP"));
    QCOMPARE(f.dialog->windowTitle(), QString("Настройки для учётной записи «Work»..."));

    // Ctrl+S saves only when something changed.
    QTest::keyClick(f.dialog.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(f.host.reloads.empty());
    balloon->setValue(13);
    QTest::keyClick(balloon, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.config().readInt("Olm:TK", "HelpTime", 0), 13);
    QCOMPARE(f.config().readInt("Work", "Done", 0), 1);
    QCOMPARE(f.host.reloads, std::vector<bool>{false});
    QVERIFY(f.dialog->isVisible());
  }

  // ОТМЕНА (and Esc) hides, undoes the previews through the reload and drops the changes;
  // the next show reads the files again.
  void cancelRestoresThePreviews() {
    DialogFixture f;
    f.dir.writeConfig("[Olm:TK]\nX=40\nY=30\nO=1\n");
    f.dialog->showOnPage(PageId::Cfg);
    QVERIFY(f.host.placements.empty());
    f.find<QSpinBox>("e_xx")->setValue(200);
    QCOMPARE(f.host.placements.size(), std::size_t{1});
    QCOMPARE(f.host.placements[0].x, 200);
    QVERIFY(f.host.placements[0].fromTopLeft);
    QTest::keyClick(f.dialog.get(), Qt::Key_Escape);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.host.reloads, std::vector<bool>{false});
    QCOMPARE(f.config().readInt("Olm:TK", "X", 0), 40);
    f.dialog->showOnPage(PageId::Cfg);
    QCOMPARE(f.find<QSpinBox>("e_xx")->value(), 40);
    QVERIFY(!f.find<QPushButton>("b_apply")->isEnabled());
  }

  // A file that cannot be written: the old file stays, the log says so, the user is told -
  // unless "nogo.err" asks for silence.
  void failedSaveIsReported() {
    DialogFixture f;
    std::filesystem::create_directory(f.dir.files().config());  // not a file: writes fail
    f.dialog->showOnPage(PageId::Cfg);
    f.find<QSpinBox>("e_balloon")->setValue(9);
    f.boxes.answerNext(QMessageBox::Ok);
    f.find<QPushButton>("b_apply")->click();
    QCOMPARE(f.boxes.texts().value(0),
             QString("Возникла ошибка при сохранении настроек программы и учётной записи.\n"
                     "Убедитесь, что запись в файлы «TarvikC.Kfg» и «TarvikA.Kfg» разрешена."));
    QVERIFY(f.logText().find(" Failed saving settings.") != std::string::npos);
    QVERIFY(!std::filesystem::exists(f.dir.files().accounts()));

    test::writeBytes(f.dir.files().noGo(), "");
    f.find<QSpinBox>("e_balloon")->setValue(10);
    f.find<QPushButton>("b_apply")->click();
    QCOMPARE(f.boxes.texts().size(), 1);
  }

  // Copy from another entry into the shown one; reset; the skin editor's leftover file.
  void copyResetAndLeftoverDraft() {
    DialogFixture f({"ISP"});
    f.dir.writeConfig("[Olm:TK]\nEntry=1\n[Default]\nDone=1\nFreeTime=45\n");
    f.dialog->showOnPage(PageId::Cur);
    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_copy")->click();
    QCOMPARE(f.boxes.texts().value(0),
             QString("Вы уверены, что хотите полностью (кроме тарифа и статистики)\n"
                     "скопировать настройки из учётной записи «Default» в «ISP»?"));
    QCOMPARE(f.config().readInt("ISP", "Done", 0), 1);
    QCOMPARE(f.config().readInt("ISP", "FreeTime", 0), 45);

    f.boxes.answerNext(QMessageBox::No);
    f.find<QPushButton>("b_reset")->click();
    QVERIFY(f.config().exists());
    f.boxes.answerNext(QMessageBox::Yes);
    f.find<QPushButton>("b_reset")->click();
    QVERIFY(!f.config().exists());
    QCOMPARE(f.host.restarts, 1);
    QVERIFY(f.logText().find(" Reset... (all settings data will be lost)") != std::string::npos);

    const auto draft = f.dir.path() / "new_skin.tmp";
    test::writeBytes(draft, "x");
    f.boxes.answerNext(QMessageBox::Yes);
    f.dialog->cancel();
    QVERIFY(std::filesystem::exists(draft));
    f.dialog->showOnPage(PageId::Cfg);
    f.boxes.answerNext(QMessageBox::No);
    f.dialog->cancel();
    QVERIFY(!std::filesystem::exists(draft));
    QCOMPARE(f.boxes.texts().size(), 5);
  }

  // Every row of the binding table names exactly one control in the whole dialog, of a kind
  // that can show its key: a misspelt or doubled name, or a radio row on a check box, fails
  // here instead of leaving a setting unshown and unsaved.
  void everyRowBindsOneFittingControl() {
    DialogFixture f;
    f.dialog->showOnPage(PageId::Cfg);
    int rows = 0;
    for (PageId page : kAllPages) {
      const SettingsTab* tab = f.dialog->page(page);
      QVERIFY(tab);
      for (const PageKey& row : pageKeys(page)) {
        ++rows;
        const QString name = QString::fromUtf8(row.objectName.data(), row.objectName.size());
        const QList<QWidget*> found = tab->findChildren<QWidget*>(name);
        QVERIFY2(found.size() == 1, qPrintable(name));
        QWidget* w = found.front();
        bool fits = false;
        if (row.key.text) {
          fits = qobject_cast<QLineEdit*>(w) != nullptr;
        } else if (row.radio()) {
          fits = qobject_cast<QRadioButton*>(w) != nullptr;
        } else if (row.shows == Shows::Plain) {
          fits = qobject_cast<QCheckBox*>(w) || qobject_cast<QComboBox*>(w) ||
                 qobject_cast<QSpinBox*>(w) || qobject_cast<QLineEdit*>(w);
        } else {
          fits = qobject_cast<QSpinBox*>(w) || qobject_cast<QSlider*>(w) ||
                 qobject_cast<QLineEdit*>(w);
        }
        QVERIFY2(fits, qPrintable(name + " " + w->metaObject()->className()));
      }
    }
    QVERIFY(rows > 70);
    f.dialog->cancel();
  }
};

}  // namespace tarvik

QTEST_MAIN(tarvik::SettingsDialogTest)
#include "settings_dialog_test.moc"
