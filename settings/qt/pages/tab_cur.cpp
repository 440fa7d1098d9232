#include "settings/qt/pages/tab_cur.h"

#include <QVBoxLayout>

#include "settings/qt/page_widgets.h"

namespace tarvik {

TabCur::TabCur(SettingsFrame& frame) : SettingsTab(PageId::Cur, frame, "tabCur") {
  using namespace widgets;
  auto* z_copy = group(this, "z_copy", " н а с т р о й к и ");
  auto* s_copy = label(z_copy, "s_copy", "КОПИРОВАТЬ\nВСЕ  НАСТРОЙКИ\nИЗ  УЧЕТНОЙ  ЗАПИСИ");
  o_entry_src_ = named(new QComboBox(z_copy), "o_entry_src");
  o_entry_src_->setMaxVisibleItems(11);
  auto* b_copy = button(z_copy, "b_copy", "КОПИРОВАТЬ");
  auto* column = new QVBoxLayout(z_copy);
  column->addWidget(s_copy);
  column->addWidget(o_entry_src_);
  column->addWidget(b_copy);
  auto* page = new QVBoxLayout(this);
  page->addWidget(z_copy, 0, Qt::AlignLeft | Qt::AlignTop);
  connect(b_copy, &QPushButton::clicked, this,
          [this] { frame_.copySettingsFrom(o_entry_src_->currentText()); });
  bindControls();
}

}  // namespace tarvik
