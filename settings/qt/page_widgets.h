#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QString>

#include <algorithm>

// Small builders for the pages' controls: each gets its objectName (the name tests and the
// key table find it by) and its caption, given as UTF-8.
namespace tarvik::widgets {

template <typename W>
W* named(W* w, const char* objectName) {
  w->setObjectName(QString::fromUtf8(objectName));
  return w;
}

inline QGroupBox* group(QWidget* parent, const char* name, const char* title) {
  return named(new QGroupBox(QString::fromUtf8(title), parent), name);
}
inline QCheckBox* check(QWidget* parent, const char* name, const char* caption) {
  return named(new QCheckBox(QString::fromUtf8(caption), parent), name);
}
inline QRadioButton* radio(QWidget* parent, const char* name, const char* caption) {
  return named(new QRadioButton(QString::fromUtf8(caption), parent), name);
}
// Enter presses the button that has the focus (elsewhere it is the dialog's ОК).
inline QPushButton* button(QWidget* parent, const char* name, const char* caption) {
  return named(new QPushButton(QString::fromUtf8(caption), parent), name);
}
inline QLabel* label(QWidget* parent, const char* name, const char* text) {
  return named(new QLabel(QString::fromUtf8(text), parent), name);
}
// A one-line field keeps a pasted line break, which no line of the INI files can hold: every
// later save of the value would fail. Line breaks at the ends of a paste go, those inside
// become blanks, before any other handler of the edit sees the text.
inline QLineEdit* edit(QWidget* parent, const char* name) {
  auto* e = named(new QLineEdit(parent), name);
  QObject::connect(e, &QLineEdit::textEdited, e, [e](QString text) {
    if (!text.contains('\n') && !text.contains('\r')) return;
    const auto lineBreak = [](QChar c) { return c == '\n' || c == '\r'; };
    int cursor = e->cursorPosition();
    while (!text.isEmpty() && lineBreak(text.back())) text.chop(1);
    while (!text.isEmpty() && lineBreak(text.front())) {
      text.remove(0, 1);
      --cursor;
    }
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace('\r', ' ').replace('\n', ' ');
    e->setText(text);
    e->setCursorPosition(std::clamp(cursor, 0, static_cast<int>(text.size())));
  });
  return e;
}
// A spin: only its up-down buttons change the number.
inline QSpinBox* spin(QWidget* parent, const char* name) {
  auto* s = named(new QSpinBox(parent), name);
  if (auto* text = s->findChild<QLineEdit*>()) text->setReadOnly(true);
  return s;
}
inline QSlider* trackBar(QWidget* parent, const char* name) {
  auto* s = named(new QSlider(Qt::Horizontal, parent), name);
  s->setTickPosition(QSlider::TicksBelow);
  return s;
}
inline QComboBox* dropDown(QWidget* parent, const char* name,
                           std::initializer_list<const char*> items) {
  auto* c = named(new QComboBox(parent), name);
  for (const char* item : items) c->addItem(QString::fromUtf8(item));
  return c;
}

}  // namespace tarvik::widgets
