#include "settings/qt/count_check.h"

#include <QLineEdit>

#include "settings/entry_checks.h"

namespace tarvik {

void checkCountOnChange(QLineEdit* edit, const IntKey<Scope::Entry>& key, bool zeroAllowed,
                        SettingsFrame& frame) {
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, key, zeroAllowed, &frame] {
    switch (checkSeconds(edit->text().toStdString(), zeroAllowed)) {
      case SecondsFix::Keep:
        return;
      case SecondsFix::Restore: {
        // The section named in the entry selector, not its fallback: a fresh entry gets the
        // key's default.
        const IniFile config(frame.files().config());
        const auto section = sections::entry(frame.currentEntry().toStdString());
        edit->setText(QString::number(readKey(config, section, key)));
        return;
      }
      case SecondsFix::One:
        edit->setText("1");
        return;
      case SecondsFix::Zero:
        edit->setText("0");
        return;
    }
  });
}

}  // namespace tarvik
