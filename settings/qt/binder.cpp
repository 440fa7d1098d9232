#include "settings/qt/binder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>

namespace tarvik::binder {

namespace {

// A row without its control is a fault of the page, not of the user's files: it is said on
// stderr (and the binding test fails on it) rather than passed over.
QWidget* control(const QWidget* root, const PageKey& row) {
  const QString name =
      QString::fromUtf8(row.objectName.data(), static_cast<int>(row.objectName.size()));
  QWidget* w = root->findChild<QWidget*>(name);
  if (!w)
    qWarning("settings page %s has no control %s", qPrintable(root->objectName()),
             qPrintable(name));
  return w;
}

std::string text(const QString& s) {
  return s.toStdString();
}

bool radioMatches(const PageKey& row, int value) {
  return row.shows == Shows::RadioPair ? (value != 0) == (row.value != 0) : value == row.value;
}

}  // namespace

void applyRanges(QWidget* root, std::span<const PageKey> rows) {
  for (const PageKey& row : rows) {
    const Range range = row.range();
    if (!range.bounded()) continue;
    QWidget* w = control(root, row);
    if (auto* spin = qobject_cast<QSpinBox*>(w)) {
      spin->setRange(range.min, range.max);
      spin->setSingleStep(range.step);
    } else if (auto* slider = qobject_cast<QSlider*>(w)) {
      slider->setRange(range.min, range.max);
      slider->setSingleStep(range.step);
      slider->setPageStep(range.step);
      slider->setTickInterval(range.step);
    }
  }
}

void fill(QWidget* root, std::span<const PageKey> rows, const SettingsValues& values) {
  for (const PageKey& row : rows) {
    if (!values.has(row.key)) continue;
    QWidget* w = control(root, row);
    const int number = values.number(row.key);
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      if (radioMatches(row, number)) radio->setChecked(true);
    } else if (auto* box = qobject_cast<QAbstractButton*>(w)) {
      box->setChecked(number != 0);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
      spin->setValue(number);
    } else if (auto* slider = qobject_cast<QSlider*>(w)) {
      slider->setValue(number);
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
      list->setCurrentIndex(number >= 0 && number < list->count() ? number : 0);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      edit->setText(QString::fromStdString(values.text(row.key)));
    }
  }
}

void read(const QWidget* root, std::span<const PageKey> rows, SettingsValues& values) {
  for (const PageKey& row : rows) {
    QWidget* w = control(root, row);
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      if (radio->isChecked()) values.set(row.key, row.value);
    } else if (auto* box = qobject_cast<QAbstractButton*>(w)) {
      values.set(row.key, box->isChecked() ? 1 : 0);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
      values.set(row.key, spin->value());
    } else if (auto* slider = qobject_cast<QSlider*>(w)) {
      values.set(row.key, slider->value());
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
      values.set(row.key, std::max(0, list->currentIndex()));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      values.set(row.key, text(edit->text()));
    }
  }
}

void watch(QWidget* root, std::span<const PageKey> rows, const std::function<void()>& changed) {
  for (const PageKey& row : rows) {
    QWidget* w = control(root, row);
    if (auto* box = qobject_cast<QAbstractButton*>(w)) {
      QObject::connect(box, &QAbstractButton::toggled, root, [changed] { changed(); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
      QObject::connect(spin, &QSpinBox::valueChanged, root, [changed] { changed(); });
    } else if (auto* slider = qobject_cast<QSlider*>(w)) {
      QObject::connect(slider, &QSlider::valueChanged, root, [changed] { changed(); });
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
      QObject::connect(list, &QComboBox::currentIndexChanged, root, [changed] { changed(); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      QObject::connect(edit, &QLineEdit::textChanged, root, [changed] { changed(); });
    }
  }
}

}  // namespace tarvik::binder
